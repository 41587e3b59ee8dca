// Reading one registry value as text or as a 32-bit number, with a default.
#include "registry/value_readers.h"

#include <cstring>

#include "platform/fixed_text.h"

namespace velnor {
namespace {

// Opens the key for reading, runs one query and closes the key again.
template <typename Query>
Status QueryOnce(const RegistryLocation& location, const Platform& os, Query query) {
  const KeyOpen opened = os.registry.OpenKey(location.root, location.sub_key);
  if (opened.status != kSuccess) return opened.status;
  const Status status = query(opened.key);
  os.registry.CloseKey(opened.key);
  return status;
}

}  // namespace

Status ReadRegString(const RegistryLocation& location, const char* default_text, char* destination,
                     std::size_t capacity, const Platform& os) {
  if (capacity == 0) return kErrorMoreData;
  if (!CopyText(destination, capacity, default_text)) destination[0] = '\0';
  return QueryOnce(location, os, [&](Handle key) {
    unsigned char work[kRegistryWorkBufferSize];
    std::uint32_t size = sizeof work;
    const Status status = os.registry.QueryValue(key, location.value_name, work, &size);
    if (status != kSuccess) return status;
    // RegQueryValueExA does not promise a terminator: the text ends at the first zero byte or
    // with the data.
    const char* text = reinterpret_cast<const char*>(work);
    const std::size_t length = BoundedLength(text, size < sizeof work ? size : sizeof work);
    if (length >= capacity) return kErrorMoreData;
    std::memcpy(destination, text, length);
    destination[length] = '\0';
    return kSuccess;
  });
}

Status ReadRegDword(const RegistryLocation& location, std::uint32_t default_value,
                    std::uint32_t* value, const Platform& os) {
  *value = default_value;
  return QueryOnce(location, os, [&](Handle key) {
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(default_value >> (8 * i));
    std::uint32_t size = sizeof bytes;
    const Status status = os.registry.QueryValue(key, location.value_name, bytes, &size);
    // After a failed query the buffer's contents are undefined.
    if (status != kSuccess) return status;
    *value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
             static_cast<std::uint32_t>(bytes[2]) << 16 |
             static_cast<std::uint32_t>(bytes[3]) << 24;
    return kSuccess;
  });
}

}  // namespace velnor
