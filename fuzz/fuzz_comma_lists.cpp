// Comma text of the repeatable IPTC items: reading and writing, and the
// store's edits by comma text. Input: existing list, a zero byte, added list.
#include <vector>

#include "FuzzCommon.h"
#include "Targets.h"
#include "core/iptc/CommaText.h"
#include "core/iptc/IptcRecord.h"
#include "core/iptc/KeywordList.h"

int lumatrim::fuzz::RunCommaLists(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t zero = input.find('\0');
  const std::string existing = input.substr(0, zero);
  const std::string added = zero == std::string::npos ? std::string() : input.substr(zero + 1);

  // Written comma text reads back as the same items.
  const std::vector<std::string> items = ReadCommaText(existing);
  if (ReadCommaText(WriteCommaText(items)) != items) fuzz::Violated("comma text does not read back");

  // A keyword list as typed reads back as the same keywords once written.
  const std::vector<std::string> keywords = ReadKeywordList(existing);
  if (ReadKeywordList(WriteKeywordList(keywords)) != keywords) fuzz::Violated("a keyword list does not read back");

  // Merging the same list twice adds nothing the second time.
  const std::string merged = MergeCommaLists(existing, added);
  if (MergeCommaLists(merged, added) != merged) fuzz::Violated("a second merge of the same list changed it");

  // The store: keywords set from comma text, added to, saved and read back
  // as the same list; the shown text given back changes nothing.
  IptcRecord store(CodePage::Windows1250);
  store.SetValue("Keywords", existing);
  store.AddMultiple("Keywords", added);
  const int i = store.IndexOfName("Keywords");
  if (i < 0) return 0;
  const std::vector<std::string> values = store.DisplayValues(i);
  store.SetItemValue(i, store.GetItem(i).Data);
  if (store.DisplayValues(i) != values) fuzz::Violated("the shown comma text given back changed the keywords");
  try {
    const std::string payload = store.BuildApp13();
    const size_t n = payload.size() + 2;
    IptcRecord again(CodePage::Windows1250);
    again.ParseApp13(std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} + payload);
    const int j = again.IndexOfName("Keywords");
    if ((j < 0 ? std::vector<std::string>{} : again.DisplayValues(j)) != values)
      fuzz::Violated("saved keywords read back as other keywords");
  } catch (const LumatrimError&) {
    // Too long for one dataset or one segment: refused with a message.
  }
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunCommaLists(data, size);
}
#endif
