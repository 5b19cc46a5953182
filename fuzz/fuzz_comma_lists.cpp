// Comma lists of the repeatable IPTC items: reading, writing, merging and
// encoding one dataset per part. Input: existing list, a zero byte, added list.
#include <vector>

#include "FuzzCommon.h"
#include "Targets.h"
#include "core/iptc/CommaText.h"
#include "core/iptc/IptcCodec.h"

int lumatrim::fuzz::RunCommaLists(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t zero = input.find('\0');
  const std::string existing = input.substr(0, zero);
  const std::string added = zero == std::string::npos ? std::string() : input.substr(zero + 1);

  // Written comma text reads back as the same items.
  const std::vector<std::string> items = ReadCommaText(existing);
  if (ReadCommaText(WriteCommaText(items)) != items) fuzz::Violated("comma text does not read back");

  // Merging the same list twice adds nothing the second time.
  const std::string merged = MergeCommaLists(existing, added);
  if (MergeCommaLists(merged, added) != merged) fuzz::Violated("a second merge of the same list changed it");

  try {
    const std::string encoded = EncodeRepeated(2, 25, merged);
    int64_t pos = 1;
    int parts = 0;
    while (pos < static_cast<int64_t>(encoded.size())) {
      const int64_t before = pos;
      (void)ParseDataset(encoded, pos);
      if (pos <= before) fuzz::Violated("ParseDataset did not advance");
      ++parts;
    }
    (void)parts;
  } catch (const LumatrimError&) {
    // A part too long for one dataset is refused with a message.
  }
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunCommaLists(data, size);
}
#endif
