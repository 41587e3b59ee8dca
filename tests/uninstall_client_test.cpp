// The whole client uninstall: client, then the gateway extension that came with it, then the
// survey, each whatever the step before achieved.
#include "commands/uninstall_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/dispatch.h"
#include "sim/client_install.h"
#include "sim/sim_test.h"
#include "sim/survey_scene.h"

namespace velnor::sim {
namespace {

// The marks that some journal line starts with, in the order of their first appearance.
std::vector<std::string> InOrderSeen(const SimulatedWindows& sim,
                                     const std::vector<std::string>& marks) {
  std::vector<std::string> seen;
  for (const std::string& line : sim.journal()) {
    for (const std::string& mark : marks) {
      if (line.compare(0, mark.size(), mark) == 0 &&
          std::find(seen.begin(), seen.end(), mark) == seen.end())
        seen.push_back(mark);
    }
  }
  return seen;
}

class UninstallClientTest : public SimTest {
 protected:
  void SetUp() override {
    LoadSurveyStrings(sim);
    InstallHtmBrowser(sim);
    SetClientIdentity(sim, "U123", "host.example.com", "ABCD-1234");
    sim.InstallProgram("VelnorClient.exe", {3000, {}});
    InstallGatewayWithClient(sim);
    sim.AnswerDialogWith(DialogAnswer::Yes);
  }
};

TEST_F(UninstallClientTest, RunsEveryStepInOrderAndOpensThePersonalisedPage) {
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", 1000});
  sim.RunCompanion({"KivGatewayExt", "KivGatewayExt_ShutDownNow", 3000});

  EXPECT_EQ(DispatchCommand("uninstall_client", os), 0);

  const std::vector<std::string> steps = {
      "open-mutex VelnorClient",
      "start VelnorClient.exe -remove | hide",
      "open-key HKU\\.DEFAULT\\Software\\Orvandel\\VelnorClient\\Installation Options",
      "open-mutex KivGatewayExt",
      "start KivGatewayExt.exe -remove | hide",
      "delete-file KivGatewayExt.exe",
      "message-box",
      "open-key HKU\\.DEFAULT\\Software\\Orvandel\\VelnorClient\\Version 1.0",
      std::string("start ") + kBrowserPath + " | " + kSurveyUrl,
  };
  EXPECT_EQ(InOrderSeen(sim, steps), steps);
  EXPECT_EQ(OpenedUrl(sim),
            std::string(kSurveyUrl) + "?userid=U123&FQDN=host.example.com&regkey=ABCD-1234");
  EXPECT_FALSE(sim.FileExists("KivGatewayExt.exe"));
  EXPECT_FALSE(sim.KeyExists(kGatewaySettings.root, kGatewaySettings.sub_key));
}

TEST_F(UninstallClientTest, TheSurveyReadsTheValuesAsTheClientsRemovalLeftThem) {
  sim.InstallProgram("VelnorClient.exe", {3000, [](SimulatedWindows& after) {
                                            after.DeleteValue(kClientRegKey.root,
                                                              kClientRegKey.sub_key, "RegKey");
                                          }});
  UninstallClient(os);
  EXPECT_EQ(OpenedUrl(sim), kSurveyUrl);
}

TEST_F(UninstallClientTest, AClientRemovalThatDropsTheOptionLeavesTheGatewayAlone) {
  sim.InstallProgram("VelnorClient.exe",
                     {3000, [](SimulatedWindows& after) { SetGatewayOption(after, 0); }});
  UninstallClient(os);
  EXPECT_TRUE(sim.FileExists("KivGatewayExt.exe"));
  EXPECT_TRUE(sim.JournalEntries("open-mutex KivGatewayExt").empty());
}

TEST_F(UninstallClientTest, EverythingFailingStillEndsWithThePromptAndZero) {
  // A client that ignores the request and no removal command anywhere.
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", std::nullopt});
  sim.RunCompanion({"KivGatewayExt", "KivGatewayExt_ShutDownNow", std::nullopt});
  sim.RemoveFromScene("VelnorClient.exe");
  sim.RemoveFromScene("KivGatewayExt.exe");
  sim.AnswerDialogWith(DialogAnswer::No);

  EXPECT_EQ(DispatchCommand("uninstall_client", os), 0);

  EXPECT_EQ(sim.now(), 40000u) << "two full handshakes, no removal waits";
  EXPECT_EQ(sim.dialogs().size(), 1u);
  EXPECT_TRUE(sim.started().empty());
  EXPECT_EQ(sim.journal().back(), "message-box") << "something ran after No";
}

}  // namespace
}  // namespace velnor::sim
