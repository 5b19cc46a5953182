#include <gtest/gtest.h>

#include "core/bytes/TextEncoding.h"

using lumatrim::CodePage;
using lumatrim::DisplayUtf8;
using lumatrim::IsValidUtf8;
using lumatrim::ToUtf8;

TEST(DisplayUtf8, validUtf8StaysAsItIs) {
  EXPECT_EQ(DisplayUtf8("plain"), "plain");
  EXPECT_EQ(DisplayUtf8("Žluťoučký kůň"), "Žluťoučký kůň");
  EXPECT_EQ(DisplayUtf8("\xF0\x9F\x93\xB7"), "\xF0\x9F\x93\xB7") << "four-byte forms";
  EXPECT_EQ(DisplayUtf8(""), "");
  EXPECT_EQ(DisplayUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(DisplayUtf8, anythingElseIsReadInTheChosenCodePage) {
  const auto latin1 = [](const std::string& bytes) { return ToUtf8(bytes, CodePage::Latin1); };
  EXPECT_EQ(latin1("Caf\xE9"), "Café");
  EXPECT_EQ(latin1("\xA9 2006"), "© 2006");
  EXPECT_EQ(latin1("\xC3"), "Ã") << "a sequence cut at the end";
  EXPECT_EQ(latin1("\xC0\xAF"), "À¯") << "overlong forms are not UTF-8";
  EXPECT_EQ(latin1("\xED\xA0\x80"), "í\xC2\xA0\xC2\x80") << "nor are surrogates";
  EXPECT_EQ(latin1("\xF4\x90\x80\x80").size(), 8u) << "nor code points past U+10FFFF";
  EXPECT_TRUE(IsValidUtf8(latin1("\xFF\xFE\x80")));

  SCOPED_TRACE("Windows-1250 unless the user chose another page");
  EXPECT_EQ(lumatrim::LegacyCodePage(), CodePage::Windows1250);
  EXPECT_EQ(DisplayUtf8("Plze\xF2 \xF8\x8A\x9E"), "Plzeň řŠž");
  EXPECT_EQ(DisplayUtf8("\x81"), "\xEF\xBF\xBD") << "a byte the page leaves undefined";
  EXPECT_EQ(ToUtf8("\xC0\xE8", CodePage::Windows1251), "Аи");
  lumatrim::SetLegacyCodePage(CodePage::Windows1252);
  EXPECT_EQ(DisplayUtf8("\x80 \xF2"), "€ ò");
  lumatrim::SetLegacyCodePage(lumatrim::kDefaultCodePage);
}

TEST(CodePage, NamesReadBackAndAliases) {
  for (CodePage page : lumatrim::kCodePages) {
    EXPECT_EQ(lumatrim::CodePageByName(lumatrim::CodePageName(page)), page) << lumatrim::CodePageName(page);
  }
  EXPECT_EQ(lumatrim::CodePageByName("CP1250"), CodePage::Windows1250);
  EXPECT_EQ(lumatrim::CodePageByName("latin1"), CodePage::Latin1);
  EXPECT_EQ(lumatrim::CodePageByName("latin2"), CodePage::Latin2);
  EXPECT_EQ(ToUtf8("\xB9\xE8", CodePage::Latin2), "šč") << "ISO-8859-2 is not Windows-1250";
  EXPECT_EQ(lumatrim::CodePageByName("Windows-1257"), CodePage::Windows1257);
  EXPECT_FALSE(lumatrim::CodePageByName("utf-16"));
}
