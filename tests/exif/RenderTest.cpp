// Value texts: the dictionary, number formatting, decode lists and render functions.
#include <gtest/gtest.h>

#include <vector>

#include "core/bytes/Error.h"
#include "core/exif/TagRender.h"
#include "core/exif/TagRenderFuncs.h"
#include "core/exif/TagTables.h"
#include "support/TiffBuilder.h"

using namespace lumatrim;
using lumatrim::test::Order;

namespace {

// Numbers in the byte order and width of a format (rationals: numerator, denominator, ...).
std::string Raw(int fmt, const std::vector<uint32_t>& values, Order order) {
  std::string raw;
  for (uint32_t v : values) raw += BytesPerFormat(fmt) == 2 ? test::U16(v, order) : test::U32(v, order);
  return raw;
}

}  // namespace

TEST(TagTables, lookupsByTagAndByName) {
  EXPECT_EQ(LookupTagDef(0x8827, DirectoryKind::Thumbnail).Desc, "ISOSpeed Ratings") << "the spaced-out name";
  EXPECT_EQ(LookupTagDef(0x9216, DirectoryKind::Main).Desc, "TIFF/ EPStandard ID") << "0xA216 has a Desc of its own, 0x9216 not";
  EXPECT_EQ(LookupTagDef(0x001E, DirectoryKind::Gps).Name, "GPSDifferential");
  // GPS directories look in the GPS table only.
  // (A kind no directory has looks nowhere.)
  const auto noKind = static_cast<DirectoryKind>(3);
  for (auto [tag, kind] : {std::pair{0x829A, DirectoryKind::Gps}, {0x829A, noKind}, {0xFFFF, DirectoryKind::Main}}) {
    EXPECT_EQ(LookupTagDef(tag, kind).Tag, 0) << tag << " in " << static_cast<int>(kind);
    EXPECT_EQ(LookupTagDef(tag, kind).Desc, "Unknown");
  }
  EXPECT_EQ(MainTagTable[MainRowByName("exposuretime")].Tag, 0x829A);
  EXPECT_EQ(MainTagTable[MainRowByName("FlashEnergy")].Tag, 0x920B) << "a name met twice finds its first row";
  for (const char* none : {"Unknown", "ExposureTim"}) EXPECT_EQ(MainRowByName(none), -1) << none;
  EXPECT_EQ(FindTableRow(0x0001, MainTagTable), 0);
  EXPECT_EQ(SpaceOutName("FNumber") + "|" + SpaceOutName("x") + "|" + SpaceOutName(""), "FNumber|x|");
}

TEST(RenderValue, examplesInBothByteOrders) {
  const struct { int tag, fmt; std::vector<uint32_t> values; const char* out; char separator = '.'; } cases[] = {
      {0x0112, 3, {6}, "CounterClockwise 90°"}, {0x0112, 3, {2}, ""} /* a code the list lacks */,
      {0x0106, 3, {2}, "RGB"} /* blanks before a code are ignored */, {0x829A, 5, {1, 60}, "1/60 sec"},
      {0x829A, 5, {1, 60}, "1/60 sec", ','}, {0x829D, 5, {56, 10}, "F5.6"}, {0x829D, 5, {56, 10}, "F5,6", ','},
      {0x011A, 5, {300, 1}, "300,00", ','}, {0x920A, 5, {74, 10}, " 7.40 mm"},
      {0x9202, 5, {297, 100}, "F3.0"} /* the APEX value itself */, {0, 3, {8, 8, 8}, "8, 8, 8"},
      {0, 9, {0xFFFFFFFF}, "-1"}, {0, 8, {0xFFFF}, "65535"} /* SSHORT shows unsigned */, {0, 5, {1, 0}, "1/0"}};
  for (Order order : {Order::Intel, Order::Motorola})
    for (const auto& c : cases) {
      const TagEntry row = c.tag ? LookupTagDef(c.tag, DirectoryKind::Main) : TagEntry{};
      std::string text = RenderValue(Raw(c.fmt, c.values, order), c.fmt, row.DecodeList, row.FormatString,
                                     order == Order::Motorola, c.separator);
      TagRenderContext context;
      EXPECT_EQ(row.RenderFunc ? row.RenderFunc(text, context) : text, c.out) << c.tag << " " << int(order);
    }
}

TEST(RenderValue, limitsAndOddFormats) {
  std::string many;
  for (int i = 0; i < 200; ++i) many += static_cast<char>(i);
  const std::string text = RenderValue(many, 1, "", "", false, '.');
  EXPECT_EQ(text.substr(text.rfind(", ") + 2), "127") << "at most 128 elements";
  const struct { std::string raw; int fmt; const char* format; const char* out; } cases[] = {
      {"abcd", 11, "", "-9999.99"}, {"abcdefgh", 12, "", "-9999.99"}, {"ab", 0, "", "0"}, {"ab", 13, "", "0"},
      {"", 3, "", ""}, {"\x01", 3, "", ""} /* a partial element is not read */,
      {Raw(5, {1, 0}, Order::Intel), 5, "%5.2f", " 0.00"}};
  for (const auto& c : cases) EXPECT_EQ(RenderValue(c.raw, c.fmt, "", c.format, false, '.'), c.out) << c.fmt;
}

TEST(RawToNumber, integersRationalsAndOthers) {
  EXPECT_EQ(RawToInt("\x01\x02\x03\x04\x05", true), 0x02030405) << "kept to 32 bits";
  EXPECT_EQ(RawToInt("", true), 0);
  EXPECT_DOUBLE_EQ(RawToNumber(Raw(10, {static_cast<uint32_t>(-3), 4}, Order::Intel), 10, false), -0.75);
  for (auto [raw, fmt] : {std::pair{Raw(5, {5, 0}, Order::Intel), 5}, {"abcd", 11}, {"ab", 2}, {"abc", 5}})
    EXPECT_DOUBLE_EQ(RawToNumber(raw, fmt, false), 0.0) << fmt;  // "abc": a rational without denominator
}

TEST(ValueText, decodeListsPrintableAndRationalText) {
  for (auto [code, item] : {std::pair{"2", "RGB"}, {" 6 ", "YCbCr"}, {"1", "Monochrome"}, {"3", ""}, {"RGB", ""}})
    EXPECT_EQ(DecodeValue("1:Monochrome, 2:RGB, 6:YCbCr", code), item) << code;
  EXPECT_EQ(DecodeValue("", "1"), "");
  EXPECT_EQ(DecodeValue("10:Flash,1:Daylight", "1"), "Daylight") << "codes compare whole";
  EXPECT_EQ(Printable(std::string("a\0b\x1F\x7F", 5)), "a.b.\x7F");
  EXPECT_EQ(Printable(std::string(80, 'x')).size(), 50u);
  EXPECT_EQ(Printable("\xC3\xA9"), "\xC3\xA9") << "bytes of 128 and above stay";
  for (auto [text, value] : {std::pair{"3/4", 0.75}, {" 1 3/4 ", 1.75}, {"-6/4", -1.5}, {"1/0", 0.0}, {"12", 0.0},
                             {"a/b", 0.0}, {"", 0.0}, {"x 1/2", 0.0}})
    EXPECT_DOUBLE_EQ(RationalTextToFloat(text), value) << text;
}

TEST(FormatNumber, printfLikeWithoutTheCLocale) {
  const struct { const char* format; double value; char separator; const char* out; } cases[] = {
      {"%5.2f", 7.4, '.', " 7.40"}, {"%5.2f", 14.77, ',', "14,77"}, {"F%0.1f", 2.8, '.', "F2.8"},
      {"%0.0f", 7.2, '.', "7"},     {"%d%%", 42.9, '.', "42%"},     {"%-6.1f|", 1.25, '.', "1.2   |"},
      {"%06.1f", -1.5, '.', "-001.5"}};
  for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.format, c.value, c.separator), c.out) << c.format;
  EXPECT_NE(FormatNumber("%5.2f", 1e308, '.').find("e+308"), std::string::npos);
  for (const char* bad : {"%5.2f %f", "%q", "%5."}) EXPECT_THROW(FormatNumber(bad, 1, '.'), LumatrimError) << bad;
}

TEST(RenderFunctions, dictionaryRenderings) {
  const struct { RenderFunction f; std::string in; const char* out; } cases[] = {
      {RenderComponents, std::string("\"\x01\x02\x03\x00\"", 6), "YCbCr"}, {RenderComponents, "\"", ""},
      {RenderComponents, "\"\x04\x05\x06\x07", "RGB"}, {RenderShutterSpeed, "697/100", "0.0080 sec (1/125)"},
      {RenderShutterSpeed, "0/1", "1.0000 sec"}, {RenderShutterSpeed, "1/1", "0.5000 sec (1/2)"},
      {RenderShutterSpeed, "-2147483648/1", " INF sec"} /* no overflow */,
      {RenderShutterSpeed, "2147483647/1", "0.0000 sec"} /* no absurd 1/x */, {RenderFlash, "25", "On, auto mode"},
      {RenderFlash, "0", "Off"}, {RenderFlash, "7", "On, strobe return"}, {RenderFlash, "16", "Off, surpressed"},
      {RenderFlash, "95", "On, strobe return, auto mode, red-eye reduction"},
      {RenderFlash, "32", "Off, no flash function"}, {RenderUserComment, std::string("ASCII\0\0\0Hi", 10), "Hi"},
      {RenderText16, "72, 0, 105, 0, 0, 0", "Hi"},
      {RenderText16, "72, 0, 105", "H"} /* the number after the last comma is not read */, {RenderText16, "", ""},
      {RenderGpsCoordinate, "50/1, 512/100, 0/1", "50 Degrees 5 Minutes 7 Seconds"},
      {RenderGpsCoordinate, "14/1, 25/1, 3012/100", "14 Degrees 25 Minutes 30 Seconds"},
      {RenderGpsCoordinate, "14/1", "14 Degrees 0 Minutes 0 Seconds"}, {RenderGpsTime, "13/1, 5/1, 900/100", "13:5:9"}};
  TagRenderContext context;
  for (const auto& c : cases) EXPECT_EQ(c.f(c.in, context), c.out) << c.in;
  EXPECT_THROW(RenderFlash("16, 0", context), LumatrimError) << "two values end the directory walk";
  EXPECT_THROW(RenderFlash("", context), LumatrimError);
}
