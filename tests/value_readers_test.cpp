// Reading registry values of every shape as text and as 32-bit numbers.
#include "registry/value_readers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sim/sim_test.h"
#include "sim/test_names.h"

namespace velnor::sim {
namespace {

constexpr RegistryLocation kTestValue{RegistryRoot::Users, ".DEFAULT\\Software\\Test", "Value"};
constexpr char kGuard = 0x5A;

enum class Shape { NoKey, NoValue, DeniedKey, Stored };

struct TextCase {
  const char* label;
  Shape shape;
  std::uint32_t type;
  std::string bytes;
  std::size_t capacity;
  Status status;
  const char* text;  // what the destination holds afterwards
};

const std::string k31(31, 'u');
const std::string k32(32, 'u');
const std::string k259(259, 'p');
const std::string k260(260, 'p');

const TextCase kTextCases[] = {
    {"missing key", Shape::NoKey, kRegSz, "", 32, kErrorFileNotFound, "default"},
    {"missing value", Shape::NoValue, kRegSz, "", 32, kErrorFileNotFound, "default"},
    {"access refused", Shape::DeniedKey, kRegSz, "", 32, kErrorAccessDenied, "default"},
    {"text", Shape::Stored, kRegSz, std::string("abc\0", 4), 32, kSuccess, "abc"},
    {"empty text", Shape::Stored, kRegSz, std::string("\0", 1), 32, kSuccess, ""},
    {"zero length", Shape::Stored, kRegSz, "", 32, kSuccess, ""},
    {"no terminator", Shape::Stored, kRegSz, "abc", 32, kSuccess, "abc"},
    {"binary up to its first zero", Shape::Stored, kRegBinary, std::string("ab\0cd", 5), 32,
     kSuccess, "ab"},
    {"a number read as text", Shape::Stored, kRegDword, std::string("\x41\x42\0\0", 4), 32,
     kSuccess, "AB"},
    {"fills the destination exactly", Shape::Stored, kRegSz, k31 + '\0', 32, kSuccess, k31.c_str()},
    {"one too long for the destination", Shape::Stored, kRegSz, k32 + '\0', 32, kErrorMoreData,
     "default"},
    {"no terminator and no room for one", Shape::Stored, kRegSz, k32, 32, kErrorMoreData,
     "default"},
    {"260 bytes with terminator", Shape::Stored, kRegSz, k259 + '\0', 260, kSuccess, k259.c_str()},
    {"261 bytes", Shape::Stored, kRegSz, k260 + '\0', 260, kErrorMoreData, "default"},
    {"260 bytes without terminator", Shape::Stored, kRegSz, k260, 260, kErrorMoreData, "default"},
};

void Stage(SimulatedWindows& sim, Shape shape, std::uint32_t type, const std::string& bytes) {
  switch (shape) {
    case Shape::NoKey:
      break;
    case Shape::NoValue:
      sim.CreateKey(kTestValue.root, kTestValue.sub_key);
      break;
    case Shape::DeniedKey:
      sim.SetValue(kTestValue.root, kTestValue.sub_key, kTestValue.value_name, kRegSz, "x");
      sim.DenyKeyAccess(kTestValue.root, kTestValue.sub_key);
      break;
    case Shape::Stored:
      sim.SetValue(kTestValue.root, kTestValue.sub_key, kTestValue.value_name, type, bytes);
      break;
  }
}

class ReadRegStringTest : public SimTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ReadRegStringTest, FillsOnlyItsDestination) {
  const TextCase& c = GetParam();
  Stage(sim, c.shape, c.type, c.bytes);
  std::string destination(c.capacity + 16, kGuard);

  EXPECT_EQ(ReadRegString(kTestValue, "default", destination.data(), c.capacity, os), c.status);

  EXPECT_STREQ(destination.c_str(), c.text);
  EXPECT_EQ(destination.substr(c.capacity), std::string(16, kGuard)) << "wrote past capacity";
}

INSTANTIATE_TEST_SUITE_P(Shapes, ReadRegStringTest, ::testing::ValuesIn(kTextCases), LabelName());

struct NumberCase {
  const char* label;
  Shape shape;
  std::string bytes;
  std::uint32_t default_value;
  Status status;
  std::uint32_t value;
};

const NumberCase kNumberCases[] = {
    {"missing key", Shape::NoKey, "", 7, kErrorFileNotFound, 7},
    {"missing value", Shape::NoValue, "", 7, kErrorFileNotFound, 7},
    {"access refused", Shape::DeniedKey, "", 7, kErrorAccessDenied, 7},
    {"one", Shape::Stored, std::string("\1\0\0\0", 4), 0, kSuccess, 1},
    {"least significant byte first", Shape::Stored, "\x78\x56\x34\x12", 0, kSuccess, 0x12345678},
    {"the digit one as text", Shape::Stored, std::string("1\0", 2), 0, kSuccess, 49},
    {"one byte over the default's low byte", Shape::Stored, "\1", 0xAABBCCDD, kSuccess, 0xAABBCC01},
    {"zero length keeps the default", Shape::Stored, "", 9, kSuccess, 9},
    {"eight bytes keep the default", Shape::Stored, std::string("\1\0\0\0\0\0\0\0", 8), 0,
     kErrorMoreData, 0},
};

class ReadRegDwordTest : public SimTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(ReadRegDwordTest, TakesTheValuesLowOrderBytes) {
  const NumberCase& c = GetParam();
  Stage(sim, c.shape, kRegDword, c.bytes);
  std::uint32_t value = 0xDEADBEEF;
  EXPECT_EQ(ReadRegDword(kTestValue, c.default_value, &value, os), c.status);
  EXPECT_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ReadRegDwordTest, ::testing::ValuesIn(kNumberCases), LabelName());

}  // namespace
}  // namespace velnor::sim
