#pragma once
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace lumatrim {

// Bytes read front to back: a file read in pieces, or bytes already in memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes into dst; returns how many were read (short at the end).
  virtual size_t Read(char* dst, size_t n) = 0;
};

// Bytes in memory as a source; the bytes must outlive it.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  size_t Read(char* dst, size_t n) override {
    const size_t count = std::min(n, bytes_.size());
    if (count > 0) std::memcpy(dst, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
  }

 private:
  std::string_view bytes_;
};

}  // namespace lumatrim
