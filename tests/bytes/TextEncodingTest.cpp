#include <gtest/gtest.h>

#include "core/bytes/TextEncoding.h"

using lumatrim::DisplayUtf8;
using lumatrim::IsValidUtf8;

TEST(DisplayUtf8, validUtf8StaysAsItIs) {
  EXPECT_EQ(DisplayUtf8("plain"), "plain");
  EXPECT_EQ(DisplayUtf8("Žluťoučký kůň"), "Žluťoučký kůň");
  EXPECT_EQ(DisplayUtf8("\xF0\x9F\x93\xB7"), "\xF0\x9F\x93\xB7") << "four-byte forms";
  EXPECT_EQ(DisplayUtf8(""), "");
  EXPECT_EQ(DisplayUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(DisplayUtf8, anythingElseIsReadAsLatin1) {
  EXPECT_EQ(DisplayUtf8("Caf\xE9"), "Café");
  EXPECT_EQ(DisplayUtf8("\xA9 2006"), "© 2006");
  EXPECT_EQ(DisplayUtf8("\xC3"), "Ã") << "a sequence cut at the end";
  EXPECT_EQ(DisplayUtf8("\xC0\xAF"), "À¯") << "overlong forms are not UTF-8";
  EXPECT_EQ(DisplayUtf8("\xED\xA0\x80"), "í\xC2\xA0\xC2\x80") << "nor are surrogates";
  EXPECT_EQ(DisplayUtf8("\xF4\x90\x80\x80").size(), 8u) << "nor code points past U+10FFFF";
  EXPECT_TRUE(IsValidUtf8(DisplayUtf8("\xFF\xFE\x80")));
}
