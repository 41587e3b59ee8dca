// Lead-byte tests for the command-line tail: a single-byte code page and code page 932.
#pragma once

namespace velnor::sim {

inline bool NoLeadBytes(unsigned char) { return false; }

inline bool ShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace velnor::sim
