// Bounded text in fixed-capacity buffers.
#include "platform/fixed_text.h"

#include <cstring>

namespace velnor {
namespace {

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

std::size_t BoundedLength(const char* text, std::size_t capacity) {
  const void* zero = std::memchr(text, 0, capacity);
  return zero == nullptr ? capacity
                         : static_cast<std::size_t>(static_cast<const char*>(zero) - text);
}

bool CopyText(char* destination, std::size_t capacity, const char* text) {
  const std::size_t length = std::strlen(text);
  if (length >= capacity) return false;
  std::memcpy(destination, text, length + 1);
  return true;
}

TextBuilder::TextBuilder(char* buffer, std::size_t capacity)
    : buffer_(buffer), capacity_(capacity), ok_(capacity > 0) {
  if (ok_) buffer_[0] = '\0';
}

bool TextBuilder::Put(const char* bytes, std::size_t count) {
  if (!ok_ || count >= capacity_ - length_) {
    ok_ = false;
    return false;
  }
  std::memcpy(buffer_ + length_, bytes, count);
  length_ += count;
  buffer_[length_] = '\0';
  return true;
}

TextBuilder& TextBuilder::Append(const char* text) {
  Put(text, std::strlen(text));
  return *this;
}

TextBuilder& TextBuilder::AppendPercentEncoded(const char* text) {
  for (const char* p = text; *p != '\0' && ok_; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (IsUnreserved(byte)) {
      Put(p, 1);
    } else {
      const char escaped[3] = {'%', kHexDigits[byte >> 4], kHexDigits[byte & 0x0F]};
      Put(escaped, sizeof escaped);
    }
  }
  return *this;
}

}  // namespace velnor
