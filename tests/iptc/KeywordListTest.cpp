// Keywords as people type them, and the lengths the IPTC standard allows.
#include <gtest/gtest.h>

#include "core/iptc/CzechIptcTable.h"
#include "core/iptc/IptcRecord.h"
#include "core/iptc/IptcTagTable.h"
#include "core/iptc/KeywordList.h"

using namespace lumatrim;
using Keywords = std::vector<std::string>;

TEST(KeywordList, typedListsGiveWholeKeywordsAndLimitsAreTold) {
  const std::pair<const char*, Keywords> cases[] = {
      {"hrad Karlštejn; letní dovolená, Šumava", {"hrad Karlštejn", "letní dovolená", "Šumava"}},
      {"Praha\nBrno\r\n\n  Ostrava  ", {"Praha", "Brno", "Ostrava"}},
      {"\"Karlův most\",\"a, b\"", {"Karlův most", "a, b"}},  // the quoted form shown before
      {"řeka \"Vltava\"", {"řeka \"Vltava\""}},
      {" ;, ", {}},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(ReadKeywordList(text), want) << text;
  EXPECT_EQ(WriteKeywordList({"hrad Karlštejn", "a, b", "Šumava"}), "hrad Karlštejn, \"a, b\", Šumava");
  EXPECT_EQ(ReadKeywordList(WriteKeywordList({"x; y", "say \"hi\""})), (Keywords{"x; y", "say \"hi\""}));

  IptcRecord record(CodePage::Windows1250);
  const int i = record.AddValues("Keywords", ReadKeywordList("hrad Karlštejn; letní dovolená, Šumava"));
  record.AddValues("Keywords", {"HRAD Karlštejn", "Praha"});  // letter case ignored
  EXPECT_EQ(record.DisplayValues(i), (Keywords{"hrad Karlštejn", "letní dovolená", "Šumava", "Praha"}));
  record.SetItemValues(i, {"Praha", "Brno"});
  EXPECT_EQ(record.DisplayValues(i), (Keywords{"Praha", "Brno"}));

  const TagEntry keywords = IptcItemFromRow(TableIndexOfName("Keywords"));
  const std::string long65(65, 'k');
  const auto problems = IptcLimitProblems(keywords, {"ok", long65, std::string(64, 'k')});
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].Index, 1u);
  EXPECT_EQ(problems[0].Bytes, 65u);
  EXPECT_EQ(problems[0].Limit, 64);
  EXPECT_EQ(CzechIptcLabel(keywords), "Klíčová slova");
  EXPECT_EQ(CzechIptcLabel(IptcItemFromRow(TableIndexOfName("SubLocation"))), "Část obce");
}
