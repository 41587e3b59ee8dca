// The hidden removal run and the uninstall that pairs it with the handshake.
#include "companion/removal.h"

#include <gtest/gtest.h>

#include "sim/sim_test.h"
#include "sim/test_names.h"

namespace velnor::sim {
namespace {

struct RemovalCase {
  const char* label;
  std::optional<Milliseconds> companion_leaves_after;  // none: no companion running
  bool companion_ignores;
  bool executable_present;
  Milliseconds removal_run_time;
  std::optional<std::uint64_t> removal_started_at;
  std::uint64_t returned_at;
};

const RemovalCase kRemovalCases[] = {
    {"companion absent, removal quick", std::nullopt, false, true, 1500, 0, 1500},
    {"companion absent, executable missing", std::nullopt, false, false, 0, std::nullopt, 0},
    {"removal outlasts the wait", std::nullopt, false, true, 30000, 0, 10000},
    {"companion leaves, then removal", 5000, false, true, 500, 6000, 6500},
    {"companion ignores the request", std::nullopt, true, true, 500, 20000, 20500},
};

class UninstallCompanionTest : public SimTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(UninstallCompanionTest, RunsTheRemovalHiddenAfterTheHandshake) {
  const RemovalCase& c = GetParam();
  if (c.companion_leaves_after || c.companion_ignores)
    sim.RunCompanion({"KivGatewayExt", "KivGatewayExt_ShutDownNow", c.companion_leaves_after});
  if (c.executable_present) sim.InstallProgram("KivGatewayExt.exe", {c.removal_run_time, {}});

  UninstallGatewayExt(os);

  EXPECT_EQ(sim.now(), c.returned_at);
  if (!c.removal_started_at) {
    EXPECT_TRUE(sim.started().empty());
    EXPECT_TRUE(sim.JournalEntries("wait").empty()) << "waited for a removal that never started";
    return;
  }
  ASSERT_EQ(sim.started().size(), 1u);
  const StartedProcess& removal = sim.started()[0];
  EXPECT_EQ(removal.program_path, std::nullopt);
  EXPECT_EQ(removal.command_line, "KivGatewayExt.exe -remove");
  EXPECT_EQ(removal.show, ShowMode::Hide);
  EXPECT_EQ(removal.started_at, *c.removal_started_at);
  EXPECT_EQ(removal.objects_at_start.count("KivGatewayExt_ShutDownNow"), 0u)
      << "the request still stood when the removal started";
  EXPECT_EQ(sim.JournalEntries("wait"), std::vector<std::string>{"wait 10000"});
}

INSTANTIATE_TEST_SUITE_P(Companions, UninstallCompanionTest, ::testing::ValuesIn(kRemovalCases),
                         LabelName());

class RunRemovalTest : public SimTest {};

TEST_F(RunRemovalTest, ClientRowStartsItsOwnCommandLine) {
  sim.InstallProgram("VelnorClient.exe", {200, {}});
  RunRemoval(ClientCompanion, os);
  ASSERT_EQ(sim.started().size(), 1u);
  EXPECT_EQ(sim.started()[0].command_line, "VelnorClient.exe -remove");
  EXPECT_TRUE(sim.JournalEntries("open-mutex").empty()) << "RunRemoval alone does no handshake";
}

}  // namespace
}  // namespace velnor::sim
