// Reading one registry value as text or as a 32-bit number, with a default.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/windows_api.h"
#include "registry/registry_locations.h"

namespace velnor {

// Every text value is read through a buffer of this size first.
constexpr std::uint32_t kRegistryWorkBufferSize = 260;

// Fills destination with the value as text and returns 0, or returns the platform's error and
// leaves the default there. Data without a zero byte is taken whole; a zero-length value is the
// empty text. A text that does not fit destination is not read: kErrorMoreData.
Status ReadRegString(const RegistryLocation& location, const char* default_text, char* destination,
                     std::size_t capacity, const Platform& os);

// Sets *value from the value's first bytes, least significant first, over the default; a value
// longer than 4 bytes fails with kErrorMoreData and leaves the default.
Status ReadRegDword(const RegistryLocation& location, std::uint32_t default_value,
                    std::uint32_t* value, const Platform& os);

}  // namespace velnor
