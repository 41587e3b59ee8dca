// Any registry value, of any type and size, read as text into a destination of any capacity
// and as a 32-bit number: nothing is written past the destination, a read text is terminated
// and is the data up to its first zero byte, a failed read leaves the default, and every key
// is closed again.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "registry/value_readers.h"
#include "sim/simulated_windows.h"

namespace {

using velnor::RegistryLocation;
using velnor::RegistryRoot;
using velnor::sim::SimulatedWindows;

constexpr RegistryLocation kValue{RegistryRoot::Users, ".DEFAULT\\Software\\Fuzz", "Value"};
constexpr char kGuard = 0x5A;
constexpr std::size_t kGuardSize = 16;
constexpr char kDefault[] = "dflt";

void Stage(SimulatedWindows& sim, std::uint8_t shape, std::uint32_t type,
           const std::string& bytes) {
  switch (shape % 4) {
    case 0:
      break;  // no key
    case 1:
      sim.CreateKey(kValue.root, kValue.sub_key);
      break;
    case 2:
      sim.SetValue(kValue.root, kValue.sub_key, kValue.value_name, type, bytes);
      sim.DenyKeyAccess(kValue.root, kValue.sub_key);
      break;
    default:
      sim.SetValue(kValue.root, kValue.sub_key, kValue.value_name, type, bytes);
  }
}

void CheckText(std::uint8_t shape, std::uint32_t type, std::size_t capacity,
               const std::string& bytes) {
  SimulatedWindows sim;
  Stage(sim, shape, type, bytes);
  std::string destination(capacity + kGuardSize, kGuard);
  const velnor::Status status =
      velnor::ReadRegString(kValue, kDefault, destination.data(), capacity, sim.platform());

  FUZZ_REQUIRE(destination.compare(capacity, kGuardSize, std::string(kGuardSize, kGuard)) == 0);
  FUZZ_REQUIRE(sim.OpenHandles().empty());
  if (capacity == 0) return;
  FUZZ_REQUIRE(std::memchr(destination.data(), 0, capacity) != nullptr);
  const std::string read = destination.substr(0, destination.find('\0'));
  if (status == velnor::kSuccess) {
    FUZZ_REQUIRE(shape % 4 == 3 && bytes.size() <= velnor::kRegistryWorkBufferSize);
    FUZZ_REQUIRE(read == bytes.substr(0, bytes.find('\0')));
  } else {
    FUZZ_REQUIRE(read == (capacity > std::strlen(kDefault) ? kDefault : ""));
  }
  if (shape % 4 == 3 && bytes.size() > velnor::kRegistryWorkBufferSize)
    FUZZ_REQUIRE(status == velnor::kErrorMoreData);
}

void CheckNumber(std::uint8_t shape, std::uint32_t default_value, const std::string& bytes) {
  SimulatedWindows sim;
  Stage(sim, shape, velnor::sim::kRegDword, bytes);
  std::uint32_t value = ~default_value;
  const velnor::Status status = velnor::ReadRegDword(kValue, default_value, &value, sim.platform());
  FUZZ_REQUIRE(sim.OpenHandles().empty());
  std::uint32_t expected = default_value;
  if (status == velnor::kSuccess) {
    FUZZ_REQUIRE(shape % 4 == 3 && bytes.size() <= 4);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      expected &= ~(0xFFu << (8 * i));
      expected |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
  }
  FUZZ_REQUIRE(value == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 7) return 0;
  const std::uint8_t shape = data[0];
  const std::uint32_t type = data[1] % 12;
  // Capacities from 0 to 300 bytes, around every destination the tool uses.
  const std::size_t capacity = (static_cast<std::size_t>(data[2]) << 8 | data[3]) % 301;
  std::uint32_t default_value = 0;
  std::memcpy(&default_value, data + 3, sizeof default_value);
  const std::string bytes(reinterpret_cast<const char*>(data + 7), size - 7);
  CheckText(shape, type, capacity, bytes);
  CheckNumber(shape, default_value, bytes);
  return 0;
}
