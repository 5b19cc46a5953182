#include <gtest/gtest.h>

#include "core/iptc/CommaText.h"

using lumatrim::MergeCommaLists;
using lumatrim::ReadCommaText;
using lumatrim::WriteCommaText;
using List = std::vector<std::string>;

TEST(CommaText, ReadsCommasBlanksAndQuotes) {
  SCOPED_TRACE("blanks separate items just as commas do");
  EXPECT_EQ(ReadCommaText("Paris,Rome"), (List{"Paris", "Rome"}));
  EXPECT_EQ(ReadCommaText("  New York "), (List{"New", "York"}));
  EXPECT_EQ(ReadCommaText("a , b,\tc"), (List{"a", "b", "c"}));
  SCOPED_TRACE("quoted items keep blanks and commas; doubled quotes stand for one");
  EXPECT_EQ(ReadCommaText("\"New York\",Rome"), (List{"New York", "Rome"}));
  EXPECT_EQ(ReadCommaText("\"say \"\"hi\"\", then\""), (List{"say \"hi\", then"}));
  SCOPED_TRACE("empty items");
  EXPECT_EQ(ReadCommaText(""), List{});
  EXPECT_EQ(ReadCommaText("a,,b"), (List{"a", "", "b"}));
  EXPECT_EQ(ReadCommaText("a,"), (List{"a", ""}));
  EXPECT_EQ(ReadCommaText("a, "), (List{"a"}));
  EXPECT_EQ(ReadCommaText("\"\""), (List{""}));
  SCOPED_TRACE("bytes above 127 are ordinary characters");
  EXPECT_EQ(ReadCommaText("Karlův,most"), (List{"Karlův", "most"}));
}

TEST(CommaText, WritesQuotingOnlyWhatNeedsIt) {
  EXPECT_EQ(WriteCommaText({"Paris", "Rome"}), "Paris,Rome");
  EXPECT_EQ(WriteCommaText({"New York", "a,b", "say \"hi\""}), "\"New York\",\"a,b\",\"say \"\"hi\"\"\"");
  EXPECT_EQ(WriteCommaText({""}), "\"\"");
  EXPECT_EQ(WriteCommaText({}), "");
  EXPECT_EQ(WriteCommaText({"a", "", "b"}), "a,,b");
  for (const List& list : {List{"New York", "x"}, List{"q\"uote", "c,omma"}, List{""}}) {
    EXPECT_EQ(ReadCommaText(WriteCommaText(list)), list) << "round trip";
  }
}

TEST(CommaText, MergeAddsOnlyNewItemsIgnoringCase) {
  EXPECT_EQ(MergeCommaLists("", "Paris"), "Paris");
  EXPECT_EQ(MergeCommaLists("Paris", "Rome"), "Paris,Rome");
  EXPECT_EQ(MergeCommaLists("Paris,Rome", "paris"), "Paris,Rome");
  EXPECT_EQ(MergeCommaLists("Paris", "New York"), "Paris,New,York");
  EXPECT_EQ(MergeCommaLists("Paris", "\" Lyon \""), "Paris,Lyon") << "added items are trimmed";
  EXPECT_EQ(MergeCommaLists("\"New York\"", "x"), "\"New York\",x") << "existing quoted items stay quoted";
  EXPECT_EQ(MergeCommaLists("Paris", ""), "Paris");
}
