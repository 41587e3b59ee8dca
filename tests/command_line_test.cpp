// Finding the command-line tail after the tool's own program name.
#include "commands/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/lead_bytes.h"
#include "sim/test_names.h"

namespace velnor {
namespace {

using sim::NoLeadBytes;
using sim::ShiftJisLeadByte;

struct TailCase {
  const char* label;
  const char* command_line;
  LeadByteTest lead_bytes;
  const char* tail;
};

const TailCase kTailCases[] = {
    {"empty", "", NoLeadBytes, ""},
    {"name only", "tool.exe", NoLeadBytes, ""},
    {"unquoted name", "tool.exe shutdown_client", NoLeadBytes, "shutdown_client"},
    {"quoted name with blanks", "\"C:\\Program Files\\shutdown_client\\tool.exe\" x", NoLeadBytes,
     "x"},
    {"unquoted name ends at its blank", "C:\\Program Files\\a\\tool.exe", NoLeadBytes,
     "Files\\a\\tool.exe"},
    {"quote never closed", "\"C:\\tool.exe shutdown_client", NoLeadBytes, ""},
    {"tail right after the quote", "\"tool.exe\"shutdown_client", NoLeadBytes, "shutdown_client"},
    {"blanks, tabs and control bytes skipped", "tool.exe \t\x01\x1f shutdown_client", NoLeadBytes,
     "shutdown_client"},
    {"only blanks after the name", "tool.exe   ", NoLeadBytes, ""},
    {"bytes of 128 and above belong to the name", "caf\xe9\xa0tool.exe\xff x", NoLeadBytes, "x"},
    {"a lead byte takes a quote along", "\"C:\\\x81\"\\tool.exe\" x", ShiftJisLeadByte, "x"},
    {"without a code page of lead bytes that quote ends the name", "\"C:\\\x81\"\\tool.exe\" x",
     NoLeadBytes, "\\tool.exe\" x"},
    {"a lead byte at the very end", "\"tool\x81", ShiftJisLeadByte, ""},
};

class CommandLineTailTest : public ::testing::TestWithParam<TailCase> {};

TEST_P(CommandLineTailTest, StartsAfterTheProgramName) {
  const TailCase& c = GetParam();
  const char* tail = CommandLineTail(c.command_line, c.lead_bytes);
  const std::string line(c.command_line);
  ASSERT_GE(tail, c.command_line);
  ASSERT_LE(tail, c.command_line + line.size()) << "ran past the terminator";
  EXPECT_EQ(std::string(tail), c.tail);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTailTest, ::testing::ValuesIn(kTailCases),
                         sim::LabelName());

}  // namespace
}  // namespace velnor
