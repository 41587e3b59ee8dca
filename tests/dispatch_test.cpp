// Choosing the action from the command line: keyword order, substrings, case, program name.
#include "commands/dispatch.h"

#include <gtest/gtest.h>

#include <string>

#include "commands/command_line.h"
#include "sim/lead_bytes.h"
#include "sim/observations.h"
#include "sim/sim_test.h"
#include "sim/test_names.h"

namespace velnor::sim {
namespace {

struct DispatchCase {
  const char* label;
  const char* tail;
  const char* action;
};

const DispatchCase kDispatchCases[] = {
    {"empty tail", "", "none"},
    {"no keyword", "-remove /quiet", "none"},
    {"shutdown_client", "shutdown_client", "ShutdownClient"},
    {"shutdown_gatewayext", "shutdown_gatewayext", "ShutdownGatewayExt"},
    {"uninstall_client", "uninstall_client", "UninstallClient"},
    {"uninstall_gatewayext", "uninstall_gatewayext", "UninstallGatewayExt"},
    {"first row wins over tail order", "uninstall_client shutdown_client", "ShutdownClient"},
    {"row 3 before row 4", "uninstall_gatewayext uninstall_client", "UninstallClient"},
    {"row 1 before row 2", "shutdown_gatewayext shutdown_client", "ShutdownClient"},
    {"embedded in a longer word", "/xyuninstall_gatewayext7", "UninstallGatewayExt"},
    {"other case", "Shutdown_Client", "none"},
    {"bytes of 128 and above around it", "\xe9\xa0shutdown_gatewayext\xff", "ShutdownGatewayExt"},
    {"keyword cut short", "uninstall_gatewayex", "none"},
};

class DispatchTest : public SimTest, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(DispatchTest, RunsTheFirstMatchingRowOnlyAndReturnsZero) {
  EXPECT_EQ(DispatchCommand(GetParam().tail, os), 0);
  EXPECT_EQ(ActionSeen(sim), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(Tails, DispatchTest, ::testing::ValuesIn(kDispatchCases), LabelName());

// The whole command line, as the entry hands it on: the program name is never searched.
const DispatchCase kCommandLineCases[] = {
    {"keyword only in a quoted path", "\"C:\\uninstall_client\\VelnorUninstall.exe\"", "none"},
    {"keyword only in an unquoted path", "C:\\uninstall_client\\VelnorUninstall.exe", "none"},
    {"rest of an unquoted path with a blank is searched",
     "C:\\Program Files\\uninstall_client\\VelnorUninstall.exe", "UninstallClient"},
    {"quoted path then keyword", "\"C:\\Program Files\\VelnorUninstall.exe\" uninstall_client",
     "UninstallClient"},
    {"byte 160 is part of the name", "VelnorUninstall.exe\xa0shutdown_client", "none"},
};

class EntryTest : public SimTest, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(EntryTest, SearchesOnlyTheTail) {
  EXPECT_EQ(DispatchCommand(CommandLineTail(GetParam().tail, NoLeadBytes), os), 0);
  EXPECT_EQ(ActionSeen(sim), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, EntryTest, ::testing::ValuesIn(kCommandLineCases),
                         LabelName());

}  // namespace
}  // namespace velnor::sim
