// The base of every fixture on the simulated Windows: each scenario must end with none of the
// tool's handles left open and none closed twice.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/simulated_windows.h"

namespace velnor::sim {

class SimTest : public ::testing::Test {
 protected:
  explicit SimTest(Milliseconds first_tick = 1000) : sim(first_tick) {}

  void TearDown() override {
    EXPECT_EQ(sim.OpenHandles(), std::vector<std::string>{}) << "handles left open";
    EXPECT_EQ(sim.bad_handle_closes(), 0u) << "closes of handles that were not open";
  }

  SimulatedWindows sim;
  Platform os = sim.platform();
};

}  // namespace velnor::sim
