// The command-line tail: what follows the tool's own program name.
#pragma once

namespace velnor {

// Whether a byte starts a double-byte character of the ANSI code page.
using LeadByteTest = bool (*)(unsigned char byte);

// A quoted program name runs to the next double quote, a lead byte taking the next byte
// along; an unquoted one ends at the first byte of 32 or less. Bytes 1 to 32 after it are
// skipped. Returns a pointer into command_line.
const char* CommandLineTail(const char* command_line, LeadByteTest is_lead_byte);

}  // namespace velnor
