// ParseApp13 of hostile APP13 bytes, then BuildApp13 of the items found, and
// the payload we built read and built again until it settles.
#include "FuzzCommon.h"
#include "Targets.h"

namespace {
std::string AsSegment(const std::string& payload) {
  const size_t n = payload.size() + 2;
  return std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} + payload;
}
}  // namespace

int lumatrim::fuzz::RunIptcApp13(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  IptcRecord store;
  store.ParseApp13(bytes);
  (void)store.ItemsInUse();
  std::string payload;
  try {
    payload = store.BuildApp13();
  } catch (const LumatrimError&) {
    return 0;  // too long for its length fields: refused with a message
  }
  if (payload.size() > 65533) fuzz::Violated("BuildApp13 made a payload longer than one segment");

  // The first save may normalise (junk between datasets dropped, a record
  // version added); our own payload read and built again must come out byte
  // for byte, or every save would change the photo again.
  IptcRecord again;
  again.ParseApp13(AsSegment(payload));
  if (again.ItemsInUse().size() != store.ItemsInUse().size()) fuzz::Violated("items lost or gained by a save");
  std::string next;
  try {
    next = again.BuildApp13();
  } catch (const LumatrimError&) {
    fuzz::Violated("a payload we built cannot be built again");
  }
  if (next != payload) fuzz::Violated("parse + build of our own payload changed it");

  // Each item's text given back as the user would see it changes no byte.
  for (int i = 0; i < again.Count(); ++i) again.SetItemValue(i, again.GetItem(i).Data);
  if (again.BuildApp13() != payload) fuzz::Violated("an item's own display text given back changed the record");
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunIptcApp13(data, size);
}
#endif
