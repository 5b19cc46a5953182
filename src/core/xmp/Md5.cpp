#include "core/xmp/Md5.h"

#include <nettle/md5.h>

#include <cstdint>

namespace lumatrim {

std::string Md5Hex(std::string_view bytes) {
  md5_ctx context;
  md5_init(&context);
  md5_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
  uint8_t digest[MD5_DIGEST_SIZE];
  md5_digest(&context, MD5_DIGEST_SIZE, digest);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (uint8_t byte : digest) {
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
  }
  return out;
}

}  // namespace lumatrim
