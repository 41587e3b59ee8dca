// Any command line, over a simulated Windows whose scene the first input byte picks: the tail
// stays inside the line, at most the first matching keyword's action runs, its waits are
// bounded, no handle stays open and the result is 0.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "commands/command_line.h"
#include "commands/dispatch.h"
#include "fuzz_check.h"
#include "sim/client_install.h"
#include "sim/lead_bytes.h"
#include "sim/observations.h"
#include "sim/survey_scene.h"

namespace {

using velnor::sim::NoLeadBytes;
using velnor::sim::ShiftJisLeadByte;
using velnor::sim::SimulatedWindows;

// Bits of the scene byte: companions running and how they answer, the gateway extension
// installed with the client, the answer to the prompt, the code page.
void Stage(SimulatedWindows& sim, std::uint8_t scene) {
  const std::optional<velnor::Milliseconds> leaves =
      ((scene & 2) != 0) ? std::optional<velnor::Milliseconds>(3000) : std::nullopt;
  if ((scene & 1) != 0) {
    sim.RunCompanion({"VelnorClient", "VelnorClient_ShutDownNow", leaves});
    sim.RunCompanion({"KivGatewayExt", "KivGatewayExt_ShutDownNow", leaves});
  }
  sim.InstallProgram("VelnorClient.exe", {((scene & 4) != 0) ? 30000u : 500u, {}});
  if ((scene & 8) != 0) velnor::sim::InstallGatewayWithClient(sim, 500);
  velnor::sim::LoadSurveyStrings(sim);
  velnor::sim::InstallHtmBrowser(sim);
  velnor::sim::SetClientIdentity(sim, "U1", "h.example.org", "K");
  sim.AnswerDialogWith(((scene & 16) != 0) ? velnor::DialogAnswer::Yes : velnor::DialogAnswer::No);
}

std::string ExpectedAction(const char* tail) {
  static const char* const kNames[] = {"ShutdownClient", "ShutdownGatewayExt", "UninstallClient",
                                       "UninstallGatewayExt"};
  for (std::size_t row = 0; row < std::size(velnor::kKeywordTable); ++row) {
    if (std::strstr(tail, velnor::kKeywordTable[row].keyword) != nullptr) return kNames[row];
  }
  return "none";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t scene = data[0];
  // The command line as Windows hands it over: text up to its first zero byte.
  const std::string line(reinterpret_cast<const char*>(data + 1),
                         strnlen(reinterpret_cast<const char*>(data + 1), size - 1));
  const char* tail =
      velnor::CommandLineTail(line.c_str(), ((scene & 32) != 0) ? ShiftJisLeadByte : NoLeadBytes);
  FUZZ_REQUIRE(tail >= line.c_str() && tail <= line.c_str() + line.size());

  SimulatedWindows sim;
  Stage(sim, scene);
  FUZZ_REQUIRE(velnor::DispatchCommand(tail, sim.platform()) == 0);

  FUZZ_REQUIRE(velnor::sim::ActionSeen(sim) == ExpectedAction(tail));
  FUZZ_REQUIRE(sim.OpenHandles().empty());
  FUZZ_REQUIRE(sim.bad_handle_closes() == 0);
  FUZZ_REQUIRE(sim.now() <= velnor::sim::kLongestActionMs);
  return 0;
}
