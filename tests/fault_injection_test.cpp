// Every platform call failing in turn, for every action: each run still keeps the order of its
// steps, goes on to the prompt unless a string was missing, leaves no handle open, and
// returns 0.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "commands/dispatch.h"
#include "sim/client_install.h"
#include "sim/observations.h"
#include "sim/simulated_windows.h"
#include "sim/survey_scene.h"
#include "sim/test_names.h"

namespace velnor::sim {
namespace {

// A scene in which every step of every action has something to do.
void StageEverything(SimulatedWindows& sim) {
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", 3000});
  sim.RunCompanion({"KivGatewayExt", "KivGatewayExt_ShutDownNow", 3000});
  sim.InstallProgram("VelnorClient.exe", {500, {}});
  InstallGatewayWithClient(sim, 500);
  sim.CreateKey(kGatewayAppPaths.root, kGatewayAppPaths.sub_key);
  LoadSurveyStrings(sim);
  InstallHtmBrowser(sim);
  SetClientIdentity(sim, "U123", "host.example.com", "ABCD-1234");
  sim.AnswerDialogWith(DialogAnswer::Yes);
}

// The steps of the longest action, "uninstall_client", in their order, by the journal lines
// that belong to them; lines of no step (sleeps, waits, faults) are left out.
struct StepLine {
  const char* prefix;
  int step;
};

const StepLine kStepLines[] = {
    {"open-mutex VelnorClient", 1},
    {"create-mutex VelnorClient_ShutDownNow", 1},
    {"start VelnorClient.exe -remove", 2},
    {"open-key HKU\\.DEFAULT\\Software\\Orvandel\\VelnorClient\\Installation Options", 3},
    {"query hku\\.default\\software\\orvandel\\velnorclient\\installation options", 3},
    {"open-key HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", 4},
    {"query hklm\\software\\microsoft\\windows\\currentversion\\app paths", 4},
    {"open-mutex KivGatewayExt", 5},
    {"create-mutex KivGatewayExt_ShutDownNow", 5},
    {"start KivGatewayExt.exe -remove", 6},
    {"delete-file KivGatewayExt.exe", 7},
    {"delete-key HKU\\.DEFAULT\\Software\\Orvandel\\VelnorGatewayExtensions", 8},
    {"delete-key HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", 9},
    {"load-string", 10},
    {"message-box", 11},
    {"open-key HKU\\.DEFAULT\\Software\\Orvandel\\VelnorClient\\Version 1.0", 12},
    {"query hku\\.default\\software\\orvandel\\velnorclient\\version 1.0", 12},
    {"create-file dummy.htm", 13},
    {"find-executable", 13},
    {"start C:\\Program Files\\Browser", 13},
    {"delete-file dummy.htm", 13},
    {"shell open", 14},
};

std::vector<int> Steps(const SimulatedWindows& sim) {
  std::vector<int> steps;
  for (const std::string& line : sim.journal()) {
    for (const StepLine& step : kStepLines) {
      if (line.rfind(step.prefix, 0) == 0) {
        steps.push_back(step.step);
        break;
      }
    }
  }
  return steps;
}

bool Journalled(const SimulatedWindows& sim, const std::string& prefix) {
  return !sim.JournalEntries(prefix).empty();
}

struct ActionCase {
  const char* label;
  const char* keyword;
  bool shows_prompt;
};

const ActionCase kActions[] = {
    {"shutdown_client", "shutdown_client", false},
    {"shutdown_gatewayext", "shutdown_gatewayext", false},
    {"uninstall_client", "uninstall_client", true},
    {"uninstall_gatewayext", "uninstall_gatewayext", false},
};

class FaultInjectionTest : public ::testing::TestWithParam<ActionCase> {};

TEST_P(FaultInjectionTest, EachFailingCallLeavesTheRestInOrderAndNothingOpen) {
  const ActionCase& action = GetParam();
  SimulatedWindows baseline;
  StageEverything(baseline);
  DispatchCommand(action.keyword, baseline.platform());
  const unsigned calls = baseline.failable_calls();
  ASSERT_GT(calls, 0u);

  for (unsigned failing = 1; failing <= calls; ++failing) {
    SCOPED_TRACE("call " + std::to_string(failing) + " of " + std::to_string(calls) + " fails");
    SimulatedWindows sim;
    StageEverything(sim);
    sim.FailCall(failing);

    EXPECT_EQ(DispatchCommand(action.keyword, sim.platform()), 0);

    ASSERT_TRUE(Journalled(sim, "fault ")) << "the fault was never reached";
    EXPECT_EQ(sim.OpenHandles(), std::vector<std::string>{});
    EXPECT_EQ(sim.bad_handle_closes(), 0u);
    const std::vector<int> steps = Steps(sim);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end())) << "steps out of order";
    const bool strings_failed = Journalled(sim, "fault load-string");
    EXPECT_EQ(Journalled(sim, "message-box"), action.shows_prompt && !strings_failed);
    EXPECT_LE(sim.now(), kLongestActionMs) << "waited beyond every bound";
  }
  std::printf("fault injection, %s: %u runs\n", action.keyword, calls);
}

INSTANTIATE_TEST_SUITE_P(Actions, FaultInjectionTest, ::testing::ValuesIn(kActions), LabelName());

}  // namespace
}  // namespace velnor::sim
