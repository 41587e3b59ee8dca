// Bounded text in fixed-capacity buffers: nothing here writes past the capacity it is given.
#pragma once

#include <cstddef>

namespace velnor {

// Length of text without its terminator, or capacity when no zero byte lies within it.
std::size_t BoundedLength(const char* text, std::size_t capacity);

// Copies text with its terminator when it fits into capacity bytes; otherwise leaves
// destination unchanged and returns false.
bool CopyText(char* destination, std::size_t capacity, const char* text);

// Appends pieces into a caller's buffer; once a piece does not fit the builder is spoilt and
// the buffer holds the longest terminated prefix of whole pieces.
class TextBuilder {
 public:
  TextBuilder(char* buffer, std::size_t capacity);

  TextBuilder& Append(const char* text);
  // Bytes outside A-Z a-z 0-9 - . _ ~ become "%" and two upper-case hex digits.
  TextBuilder& AppendPercentEncoded(const char* text);

  bool ok() const { return ok_; }

 private:
  bool Put(const char* bytes, std::size_t count);

  char* buffer_;
  std::size_t capacity_;
  std::size_t length_ = 0;
  bool ok_;
};

}  // namespace velnor
