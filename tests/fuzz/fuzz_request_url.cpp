// Any survey URL and any client values: the request is at most 255 characters, carries every
// value percent-encoded, so that no blank, quote or other unencoded byte comes from the values,
// and is made whole or not at all. Through the whole survey on the simulated Windows, the
// browser receives that request or the bare survey URL.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "registry/registry_locations.h"
#include "sim/client_install.h"
#include "sim/survey_scene.h"
#include "survey/exit_survey.h"
#include "survey/request_url.h"

namespace {

bool IsUnreserved(unsigned char byte) {
  return std::isalnum(byte) != 0 || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

std::string Encode(const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char byte : value) {
    if (IsUnreserved(byte)) {
      encoded += static_cast<char>(byte);
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

// The whole request, whatever its length.
std::string ExpectedRequest(const std::vector<std::string>& f) {
  return f[0] + "?userid=" + Encode(f[1]) + "&FQDN=" + Encode(f[2]) + "&regkey=" + Encode(f[3]);
}

// Splits data at zero bytes into at most four fields, each cut to its buffer's capacity.
std::vector<std::string> Fields(const std::uint8_t* data, std::size_t size) {
  static const std::size_t kLimits[] = {127, velnor::kUserIdCapacity - 1,
                                        velnor::kDomainNameCapacity - 1,
                                        velnor::kRegKeyCapacity - 1};
  std::vector<std::string> fields(4);
  std::size_t field = 0;
  for (std::size_t i = 0; i < size && field < 4; ++i) {
    if (data[i] == 0) {
      ++field;
    } else if (fields[field].size() < kLimits[field]) {
      fields[field] += static_cast<char>(data[i]);
    }
  }
  return fields;
}

void CheckBuilder(const std::vector<std::string>& f) {
  char request[velnor::kRequestUrlCapacity + 16];
  std::memset(request, 0x5A, sizeof request);
  const bool built =
      velnor::BuildRequestUrl(f[0].c_str(), {f[1].c_str(), f[2].c_str(), f[3].c_str()}, request,
                              velnor::kRequestUrlCapacity);
  for (std::size_t i = velnor::kRequestUrlCapacity; i < sizeof request; ++i)
    FUZZ_REQUIRE(request[i] == 0x5A);
  const std::string expected = ExpectedRequest(f);
  FUZZ_REQUIRE(built == (expected.size() <= 255));
  FUZZ_REQUIRE(std::string(request) == (built ? expected : ""));
  if (!built) return;
  // What follows the survey URL: keys, separators and encoded values only.
  for (std::size_t i = f[0].size(); request[i] != '\0'; ++i) {
    const auto byte = static_cast<unsigned char>(request[i]);
    FUZZ_REQUIRE(IsUnreserved(byte) || std::strchr("%&=?", byte) != nullptr);
  }
}

void CheckSurvey(const std::vector<std::string>& f) {
  velnor::sim::SimulatedWindows sim;
  velnor::sim::LoadSurveyStrings(sim);
  sim.SetResourceString(IDS_SURVEY_URL, f[0]);
  velnor::sim::InstallHtmBrowser(sim);
  velnor::sim::SetClientIdentity(sim, f[1], f[2], f[3]);
  sim.AnswerDialogWith(velnor::DialogAnswer::Yes);
  velnor::RunExitSurvey(sim.platform());
  FUZZ_REQUIRE(sim.OpenHandles().empty());
  if (f[0].empty()) {
    FUZZ_REQUIRE(sim.dialogs().empty());
    return;
  }
  const std::string opened = velnor::sim::OpenedUrl(sim);
  const std::string personal = ExpectedRequest(f);
  FUZZ_REQUIRE(opened == (personal.size() <= 255 ? personal : f[0]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> fields = Fields(data, size);
  CheckBuilder(fields);
  CheckSurvey(fields);
  return 0;
}
