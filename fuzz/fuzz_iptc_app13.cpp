// ParseApp13 of hostile APP13 bytes, then BuildApp13 of the items found. A
// payload we built must read back to itself: parse + build is idempotent
// after the first round, or the program would change IPTC on every save.
#include "FuzzCommon.h"

namespace {
std::string AsSegment(const std::string& payload) {
  const size_t n = payload.size() + 2;
  return std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} + payload;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TIPTCdata store(nullptr);
  store.ParseApp13(bytes);
  (void)store.ItemsInUse();
  std::string payload;
  try {
    payload = store.BuildApp13();
  } catch (const LumatrimError&) {
    return 0;  // too long for its length fields: refused with a message
  }
  if (payload.size() > 65533) fuzz::Violated("BuildApp13 made a payload longer than one segment");

  TIPTCdata again(nullptr);
  again.ParseApp13(AsSegment(payload));
  std::string second;
  try {
    second = again.BuildApp13();
  } catch (const LumatrimError&) {
    fuzz::Violated("a payload we built cannot be built again");
  }
  TIPTCdata third(nullptr);
  third.ParseApp13(AsSegment(second));
  if (third.BuildApp13() != second) fuzz::Violated("parse + build of our own payload is not stable");
  return 0;
}
