// The command-line tail: what follows the tool's own program name.
#include "commands/command_line.h"

namespace velnor {
namespace {

bool IsBlankOrControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte != 0 && byte <= 32;
}

const char* SkipQuotedName(const char* p, LeadByteTest is_lead_byte) {
  ++p;  // the opening quote
  while (*p != '\0' && *p != '"') {
    if (is_lead_byte(static_cast<unsigned char>(*p)) && p[1] != '\0') ++p;
    ++p;
  }
  return *p == '"' ? p + 1 : p;
}

const char* SkipUnquotedName(const char* p) {
  while (static_cast<unsigned char>(*p) > 32) ++p;
  return p;
}

}  // namespace

const char* CommandLineTail(const char* command_line, LeadByteTest is_lead_byte) {
  const char* p = *command_line == '"' ? SkipQuotedName(command_line, is_lead_byte)
                                       : SkipUnquotedName(command_line);
  while (IsBlankOrControl(*p)) ++p;
  return p;
}

}  // namespace velnor
