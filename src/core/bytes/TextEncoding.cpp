#include "core/bytes/TextEncoding.h"

#include <cstdint>

namespace lumatrim {

bool IsValidUtf8(const std::string& bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    const auto c = static_cast<uint8_t>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int follow = 0;
    uint32_t code = 0, minimum = 0;
    if ((c & 0xE0) == 0xC0) follow = 1, code = c & 0x1F, minimum = 0x80;
    else if ((c & 0xF0) == 0xE0) follow = 2, code = c & 0x0F, minimum = 0x800;
    else if ((c & 0xF8) == 0xF0) follow = 3, code = c & 0x07, minimum = 0x10000;
    else return false;
    if (n - i <= static_cast<size_t>(follow)) return false;
    for (int k = 1; k <= follow; ++k) {
      const auto d = static_cast<uint8_t>(bytes[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = code << 6 | (d & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode are not UTF-8.
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += follow + 1;
  }
  return true;
}

std::string DisplayUtf8(const std::string& bytes) {
  if (IsValidUtf8(bytes)) return bytes;
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto c = static_cast<uint8_t>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace lumatrim
