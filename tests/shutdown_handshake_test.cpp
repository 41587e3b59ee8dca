// The shutdown handshake: probing, the request's life and the 20-second limit.
#include "companion/shutdown_handshake.h"

#include <gtest/gtest.h>

#include <vector>

#include "sim/sim_test.h"
#include "sim/test_names.h"

namespace velnor::sim {
namespace {

constexpr Milliseconds kNearWrap = 0xFFFFFFFFu - 7000;

struct HandshakeCase {
  const char* label;
  void (*scene)(SimulatedWindows& sim);
  Milliseconds first_tick;
  unsigned sleeps;  // each 2000 ms of virtual time
  bool companion_still_runs;
};

void NoCompanion(SimulatedWindows&) {}
void LeavesAfter5s(SimulatedWindows& sim) {
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", 5000});
}
void LeavesAtOnce(SimulatedWindows& sim) {
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", 0});
}
void Ignores(SimulatedWindows& sim) {
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", std::nullopt});
}
void OtherAccountLeavesAfter5s(SimulatedWindows& sim) {
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", 5000, true});
}
void OtherAccountIgnores(SimulatedWindows& sim) {
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", std::nullopt, true});
}
void PresenceNameIsNoMutex(SimulatedWindows& sim) { sim.AddForeignObject("VelnorClient"); }
void RequestCannotBeCreated(SimulatedWindows& sim) {
  Ignores(sim);
  sim.AddForeignObject("VelnorClient_ShutDownNow");
}

const HandshakeCase kHandshakeCases[] = {
    {"companion absent", NoCompanion, 1000, 0, false},
    {"leaves 5 s after the request", LeavesAfter5s, 1000, 3, false},
    {"leaves at once", LeavesAtOnce, 1000, 1, false},
    {"ignores the request", Ignores, 1000, 10, true},
    {"other account counts as running", OtherAccountLeavesAfter5s, 1000, 3, false},
    {"other account ignoring", OtherAccountIgnores, 1000, 10, true},
    {"other error counts as gone", PresenceNameIsNoMutex, 1000, 0, false},
    {"request cannot be created", RequestCannotBeCreated, 1000, 10, true},
    {"tick counter wraps during the wait", Ignores, kNearWrap, 10, true},
    {"leaving across the wrap", LeavesAfter5s, 0xFFFFFFFFu - 3000, 3, false},
};

class HandshakeTest : public SimTest, public ::testing::WithParamInterface<HandshakeCase> {
 protected:
  HandshakeTest() : SimTest(GetParam().first_tick) {}
};

TEST_P(HandshakeTest, PollsUntilGoneOrTwentySeconds) {
  const HandshakeCase& c = GetParam();
  c.scene(sim);
  ShutdownCompanion(ClientCompanion, os);

  EXPECT_EQ(sim.JournalEntries("sleep 2000").size(), c.sleeps);
  EXPECT_EQ(sim.JournalEntries("sleep").size(), c.sleeps) << "every sleep is 2000 ms";
  EXPECT_EQ(sim.now(), 2000u * c.sleeps);
  EXPECT_EQ(sim.CompanionRunning("VelnorClient"), c.companion_still_runs);
  EXPECT_FALSE(sim.MutexExists("VelnorClient_ShutDownNow")) << "the request outlived the wait";
}

INSTANTIATE_TEST_SUITE_P(Companions, HandshakeTest, ::testing::ValuesIn(kHandshakeCases),
                         LabelName());

class HandshakeCycleTest : public SimTest {};

TEST_F(HandshakeCycleTest, AbsentCompanionNeverSeesARequest) {
  ShutdownCompanion(GatewayCompanion, os);
  EXPECT_EQ(sim.journal(), std::vector<std::string>{"open-mutex KivGatewayExt"});
  EXPECT_EQ(sim.MutexCreations("KivGatewayExt_ShutDownNow"), 0u);
}

TEST_F(HandshakeCycleTest, RecreatesTheRequestBeforeEachSleepAndChecksTimeOnlyAfterIt) {
  sim.RunCompanion({"KivGatewayExt", "KivGatewayExt_ShutDownNow", std::nullopt});
  ShutdownCompanion(GatewayCompanion, os);

  std::vector<std::string> cycle = {"open-mutex KivGatewayExt",
                                    "create-mutex KivGatewayExt_ShutDownNow", "sleep 2000"};
  std::vector<std::string> expected;
  for (int i = 0; i < 10; ++i) expected.insert(expected.end(), cycle.begin(), cycle.end());
  EXPECT_EQ(sim.journal(), expected);
  EXPECT_EQ(sim.MutexCreations("KivGatewayExt_ShutDownNow"), 10u);
}

TEST_F(HandshakeCycleTest, ACheckAt19999MsAllowsOneMoreCycle) {
  sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", std::nullopt});
  // The start reading, then one reading after each sleep.
  sim.ScriptTickReadings(
      {0, 2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000, 18000, 19999, 21999});
  ShutdownCompanion(ClientCompanion, os);
  EXPECT_EQ(sim.JournalEntries("sleep").size(), 11u);
  EXPECT_EQ(sim.JournalEntries("open-mutex").size(), 11u);
}

}  // namespace
}  // namespace velnor::sim
