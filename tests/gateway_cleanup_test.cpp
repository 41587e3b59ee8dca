// When and how a gateway extension installed with the client is removed.
#include "companion/gateway_cleanup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/client_install.h"
#include "sim/sim_test.h"
#include "sim/test_names.h"

namespace velnor::sim {
namespace {

const std::string kSettingsKey = std::string("HKU\\") + kGatewaySettingsKey;
const std::string kAppPathsKey = std::string("HKLM\\") + kGatewayAppPathsKey;

enum class Option { NoKey, NoValue, Zero, One, Two, HighBitsSet, OneAsText };
enum class AppPaths { NoKey, NoPath, ReadablePath, EmptyPath, PathTooLong, Denied };

struct CleanupCase {
  const char* label;
  Option option;
  AppPaths app_paths;
  bool cleans_up;
};

const CleanupCase kCleanupCases[] = {
    {"no options key", Option::NoKey, AppPaths::NoKey, false},
    {"no option value", Option::NoValue, AppPaths::NoKey, false},
    {"option 0", Option::Zero, AppPaths::NoKey, false},
    {"option 2", Option::Two, AppPaths::NoKey, false},
    {"option 0x101", Option::HighBitsSet, AppPaths::NoKey, false},
    {"option stored as the text 1", Option::OneAsText, AppPaths::NoKey, false},
    {"option 1 and a readable Path", Option::One, AppPaths::ReadablePath, false},
    {"option 1 and an empty Path", Option::One, AppPaths::EmptyPath, false},
    {"option 1 and no App Paths key", Option::One, AppPaths::NoKey, true},
    {"option 1 and no Path value", Option::One, AppPaths::NoPath, true},
    {"option 1 and a Path over 260 bytes", Option::One, AppPaths::PathTooLong, true},
    {"option 1 and App Paths refused", Option::One, AppPaths::Denied, true},
};

void StageOption(SimulatedWindows& sim, Option option) {
  const RegistryLocation& at = kGatewayInstalledWithClient;
  switch (option) {
    case Option::NoKey:
      return;
    case Option::NoValue:
      return sim.CreateKey(at.root, at.sub_key);
    case Option::Zero:
      return SetGatewayOption(sim, 0);
    case Option::One:
      return SetGatewayOption(sim, 1);
    case Option::Two:
      return SetGatewayOption(sim, 2);
    case Option::HighBitsSet:
      return SetGatewayOption(sim, 0x101);
    case Option::OneAsText:
      return sim.SetString(at.root, at.sub_key, at.value_name, "1");
  }
}

void StageAppPaths(SimulatedWindows& sim, AppPaths app_paths) {
  const RegistryLocation& at = kGatewayAppPath;
  switch (app_paths) {
    case AppPaths::NoKey:
      return;
    case AppPaths::NoPath:
      return sim.SetString(at.root, at.sub_key, "", "C:\\Kiv\\KivGatewayExt.exe");
    case AppPaths::ReadablePath:
      return sim.SetString(at.root, at.sub_key, at.value_name, "C:\\Kiv");
    case AppPaths::EmptyPath:
      return sim.SetString(at.root, at.sub_key, at.value_name, "");
    case AppPaths::PathTooLong:
      return sim.SetString(at.root, at.sub_key, at.value_name, std::string(300, 'k'));
    case AppPaths::Denied:
      sim.SetString(at.root, at.sub_key, at.value_name, "C:\\Kiv");
      return sim.DenyKeyAccess(at.root, at.sub_key);
  }
}

// The journal's lines that belong to the cleanup's own steps, in order.
std::vector<std::string> CleanupSteps(const SimulatedWindows& sim) {
  std::vector<std::string> steps;
  for (const std::string& line : sim.journal()) {
    if (line == "open-mutex KivGatewayExt" && !steps.empty()) continue;  // later probes
    if (line.rfind("open-mutex", 0) == 0 || line.rfind("start", 0) == 0 ||
        line.rfind("delete", 0) == 0)
      steps.push_back(line);
  }
  return steps;
}

class CleanUpGatewayExtTest : public SimTest, public ::testing::WithParamInterface<CleanupCase> {};

TEST_P(CleanUpGatewayExtTest, RemovesOnlyAnExtensionThatCameWithTheClient) {
  const CleanupCase& c = GetParam();
  sim.InstallProgram("KivGatewayExt.exe", {100, {}});
  sim.SetString(kGatewaySettings.root, kGatewaySettings.sub_key, "Port", "8080");
  StageOption(sim, c.option);
  StageAppPaths(sim, c.app_paths);

  CleanUpGatewayExt(os);

  if (!c.cleans_up) {
    EXPECT_TRUE(CleanupSteps(sim).empty());
    EXPECT_TRUE(sim.FileExists("KivGatewayExt.exe"));
    EXPECT_TRUE(sim.KeyExists(kGatewaySettings.root, kGatewaySettings.sub_key));
    return;
  }
  const std::vector<std::string> expected = {
      "open-mutex KivGatewayExt",      "start KivGatewayExt.exe -remove | hide",
      "delete-file KivGatewayExt.exe", "delete-key " + kSettingsKey,
      "delete-key " + kAppPathsKey,
  };
  EXPECT_EQ(CleanupSteps(sim), expected);
  EXPECT_FALSE(sim.FileExists("KivGatewayExt.exe"));
  EXPECT_FALSE(sim.KeyExists(kGatewaySettings.root, kGatewaySettings.sub_key));
  EXPECT_EQ(sim.KeyExists(kGatewayAppPaths.root, kGatewayAppPaths.sub_key),
            c.app_paths == AppPaths::Denied);
}

INSTANTIATE_TEST_SUITE_P(States, CleanUpGatewayExtTest, ::testing::ValuesIn(kCleanupCases),
                         LabelName());

class CleanUpFailuresTest : public SimTest {};

TEST_F(CleanUpFailuresTest, ARemovalStillRunningKeepsTheExecutableButNotTheKeys) {
  InstallGatewayWithClient(sim, 30000);
  CleanUpGatewayExt(os);
  EXPECT_TRUE(sim.FileExists("KivGatewayExt.exe")) << "deleted the image of a running removal";
  EXPECT_FALSE(sim.KeyExists(kGatewaySettings.root, kGatewaySettings.sub_key));
  EXPECT_EQ(sim.JournalEntries("delete-key").size(), 2u);
}

TEST_F(CleanUpFailuresTest, ASettingsKeyWithSubKeysStaysAndTheAppPathsKeyStillGoes) {
  InstallGatewayWithClient(sim);
  sim.CreateKey(kGatewaySettings.root, std::string(kGatewaySettings.sub_key) + "\\Profiles");
  sim.CreateKey(kGatewayAppPaths.root, kGatewayAppPaths.sub_key);
  CleanUpGatewayExt(os);
  EXPECT_TRUE(sim.KeyExists(kGatewaySettings.root, kGatewaySettings.sub_key));
  EXPECT_FALSE(sim.KeyExists(kGatewayAppPaths.root, kGatewayAppPaths.sub_key));
}

}  // namespace
}  // namespace velnor::sim
