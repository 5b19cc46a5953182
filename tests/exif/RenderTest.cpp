#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/exif/TagRender.h"
#include "core/exif/TagRenderFuncs.h"
#include "core/exif/TagTables.h"
#include "support/TiffBuilder.h"

using namespace lumatrim;
using lumatrim::test::Order;
using lumatrim::test::U16;
using lumatrim::test::U32;

namespace {

std::string Rational(uint32_t n, uint32_t d, bool big) {
  const Order o = big ? Order::Motorola : Order::Intel;
  return U32(n, o) + U32(d, o);
}

// Renders a row of the main dictionary as the parser does for a numeric entry.
std::string RenderMain(int tag, const std::string& raw, int fmt, bool big = false, char separator = '.') {
  const TTagEntry row = LookupTagDef(tag, kDirMain);
  std::string value = RenderValue(raw, fmt, row.DecodeList, row.FormatString, big, separator);
  if (row.RenderFunc) {
    TagRenderContext context;
    value = row.RenderFunc(value, context);
  }
  return value;
}

}  // namespace

TEST(TagTables, rowsAndDisplayNames) {
  EXPECT_EQ(MainTagTable[0].Tag, 0x0001);
  EXPECT_STREQ(MainTagTable[249].Name, "ImageUniqueID");
  EXPECT_EQ(MainTagTable[kMainUnknownRow].Tag, 0);
  EXPECT_STREQ(MainTagTable[kMainUnknownRow].Name, "Unknown");
  EXPECT_EQ(GpsTagTable[30].Tag, 0x1E);

  EXPECT_EQ(LookupTagDef(0x829A, kDirMain).Desc, "Exposure Time");
  EXPECT_EQ(LookupTagDef(0x8827, kDirThumbnail).Desc, "ISOSpeed Ratings");
  EXPECT_EQ(LookupTagDef(0x829D, kDirMain).Desc, "FNumber");
  EXPECT_EQ(LookupTagDef(0xA405, kDirMain).Desc, "Focal Length in 35mm Film");
  EXPECT_EQ(LookupTagDef(0x83BB, kDirMain).Desc, "IPTC/NAA");
  EXPECT_EQ(LookupTagDef(0xA216, kDirMain).Desc, "TIFF/EPStandardID");
  // Without a Desc of its own the 0x9216 row gets the spaced-out name.
  EXPECT_EQ(LookupTagDef(0x9216, kDirMain).Desc, "TIFF/ EPStandard ID");
  EXPECT_EQ(LookupTagDef(0x1E, kDirGps).Name, "GPSDifferential");

  const TTagEntry unknown = LookupTagDef(0x1F, kDirGps);
  EXPECT_EQ(unknown.Tag, 0);
  EXPECT_EQ(unknown.Desc, "Unknown");
  EXPECT_EQ(LookupTagDef(0x0002, kDirGps).Name, "GPSLatitude");
  EXPECT_EQ(LookupTagDef(0x829A, kDirGps).Tag, 0) << "GPS directories use the GPS table only";
  EXPECT_EQ(LookupTagDef(0x829A, 3).Tag, 0) << "other kinds find nothing";
  EXPECT_EQ(LookupTagDef(0xFFFF, kDirMain).Name, "Unknown");
}

TEST(TagTables, lookupsByNameAndTag) {
  EXPECT_EQ(MainRowByName("exposuretime"), FindTableRow(0x829A, MainTagTable));
  EXPECT_EQ(MainTagTable[MainRowByName("FocalLengthIn35mmFilm")].Tag, 0xA405);
  // Names that occur twice find the first row.
  EXPECT_EQ(MainTagTable[MainRowByName("FlashEnergy")].Tag, 0x920B);
  EXPECT_EQ(MainTagTable[MainRowByName("CFAPattern")].Tag, 0x828E);
  EXPECT_EQ(MainRowByName("Unknown"), -1) << "the Unknown row is not a name";
  EXPECT_EQ(MainRowByName("ExposureTim"), -1);
  EXPECT_EQ(FindTableRow(0x0001, MainTagTable), 0) << "the first row is found too";
  EXPECT_EQ(FindTableRow(0x4242, GpsTagTable), -1);
}

TEST(SpaceOutName, insertsBlanksBeforeCapitalsAfterLowerCase) {
  EXPECT_EQ(SpaceOutName("ExposureTime"), "Exposure Time");
  EXPECT_EQ(SpaceOutName("ISOSpeedRatings"), "ISOSpeed Ratings");
  EXPECT_EQ(SpaceOutName("FNumber"), "FNumber");
  EXPECT_EQ(SpaceOutName("DateTime"), "Date Time");
  EXPECT_EQ(SpaceOutName("GPSLatitude"), "GPSLatitude");
  EXPECT_EQ(SpaceOutName("x"), "x");
  EXPECT_EQ(SpaceOutName(""), "");
}

TEST(RenderValue, examplesInBothByteOrders) {
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "Motorola" : "Intel");
    const Order o = big ? Order::Motorola : Order::Intel;
    EXPECT_EQ(RenderMain(0x0112, U16(6, o), 3, big), "CounterClockwise 90°");
    EXPECT_EQ(RenderMain(0x0112, U16(2, o), 3, big), "") << "a code the list lacks renders empty";
    EXPECT_EQ(RenderMain(0x0106, U16(2, o), 3, big), "RGB") << "blanks before a code are ignored";
    EXPECT_EQ(RenderMain(0x829A, Rational(1, 60, big), 5, big), "1/60 sec");
    EXPECT_EQ(RenderMain(0x829D, Rational(56, 10, big), 5, big), "F5.6");
    EXPECT_EQ(RenderMain(0x829D, Rational(28, 10, big), 5, big), "F2.8");
    EXPECT_EQ(RenderMain(0x011A, Rational(72, 1, big), 5, big), "72.00");
    EXPECT_EQ(RenderMain(0x920A, Rational(74, 10, big), 5, big), " 7.40 mm");
    EXPECT_EQ(RenderMain(0x9202, Rational(297, 100, big), 5, big), "F3.0") << "APEX value itself";
    EXPECT_EQ(RenderValue(U16(8, o) + U16(8, o) + U16(8, o), 3, "", "", big, '.'), "8, 8, 8");
    EXPECT_EQ(RenderValue(U32(0xFFFFFFFF, o), 9, "", "", big, '.'), "-1");
    EXPECT_EQ(RenderValue(U16(0xFFFF, o), 8, "", "", big, '.'), "65535") << "SSHORT shows unsigned";
    EXPECT_EQ(RenderValue(U32(1, o) + U32(0, o), 5, "", "", big, '.'), "1/0");
    EXPECT_EQ(RenderValue(U32(1, o) + U32(0, o), 5, "", "%5.2f", big, '.'), " 0.00");
  }
}

TEST(RenderValue, limitsAndOddFormats) {
  std::string many;
  for (int i = 0; i < 200; ++i) many += static_cast<char>(i);
  const std::string text = RenderValue(many, 1, "", "", false, '.');
  EXPECT_EQ(text.substr(text.rfind(", ") + 2), "127") << "at most 128 elements";
  EXPECT_EQ(RenderValue("abcd", 11, "", "", false, '.'), "-9999.99");
  EXPECT_EQ(RenderValue("abcdefgh", 12, "", "", false, '.'), "-9999.99");
  EXPECT_EQ(RenderValue("ab", 0, "", "", false, '.'), "0");
  EXPECT_EQ(RenderValue("ab", 13, "", "", false, '.'), "0");
  EXPECT_EQ(RenderValue("", 3, "", "", false, '.'), "");
  EXPECT_EQ(RenderValue("\x01", 3, "", "", false, '.'), "") << "a partial element is not read";
}

TEST(RenderValue, decimalSeparatorIsAParameter) {
  EXPECT_EQ(RenderMain(0x829D, Rational(56, 10, false), 5, false, ','), "F5,6");
  EXPECT_EQ(RenderMain(0x011A, Rational(300, 1, false), 5, false, ','), "300,00");
  EXPECT_EQ(RenderMain(0x829A, Rational(1, 60, false), 5, false, ','), "1/60 sec") << "fractions stay";
}

TEST(RawToNumber, integersRationalsAndOthers) {
  EXPECT_EQ(RawToInt(std::string("\x01\x02", 2), true), 0x0102);
  EXPECT_EQ(RawToInt(std::string("\x01\x02", 2), false), 0x0201);
  EXPECT_EQ(RawToInt(std::string("\x01\x02\x03\x04\x05", 5), true), 0x02030405) << "kept to 32 bits";
  EXPECT_EQ(RawToInt("", true), 0);
  EXPECT_DOUBLE_EQ(RawToNumber(Rational(1, 4, true), 5, true), 0.25);
  EXPECT_DOUBLE_EQ(RawToNumber(Rational(static_cast<uint32_t>(-3), 4, false), 10, false), -0.75);
  EXPECT_DOUBLE_EQ(RawToNumber(Rational(5, 0, false), 5, false), 0.0);
  EXPECT_DOUBLE_EQ(RawToNumber("abcd", 11, false), 0.0);
  EXPECT_DOUBLE_EQ(RawToNumber("ab", 2, false), 0.0);
  EXPECT_DOUBLE_EQ(RawToNumber("abc", 5, false), 0.0) << "a short rational has no denominator";
}

TEST(DecodeValue, findsItemsByTrimmedCode) {
  const std::string list = "1:Monochrome, 2:RGB, 6:YCbCr";
  EXPECT_EQ(DecodeValue(list, "2"), "RGB");
  EXPECT_EQ(DecodeValue(list, " 6 "), "YCbCr");
  EXPECT_EQ(DecodeValue(list, "1"), "Monochrome");
  EXPECT_EQ(DecodeValue(list, "3"), "");
  EXPECT_EQ(DecodeValue(list, "Monochrome"), "");
  EXPECT_EQ(DecodeValue("", "1"), "");
  EXPECT_EQ(DecodeValue("10:Flash,1:Daylight", "1"), "Daylight") << "codes compare whole";
}

TEST(Printable, cutsAndMasksControlBytes) {
  EXPECT_EQ(Printable(std::string("a\0b\x1F\x7F", 5)), "a.b.\x7F");
  EXPECT_EQ(Printable(std::string(80, 'x')).size(), 50u);
  EXPECT_EQ(Printable("\xC3\xA9"), "\xC3\xA9") << "bytes of 128 and above stay";
}

TEST(RationalTextToFloat, wholeAndFractionalForms) {
  EXPECT_DOUBLE_EQ(RationalTextToFloat("3/4"), 0.75);
  EXPECT_DOUBLE_EQ(RationalTextToFloat(" 1 3/4 "), 1.75);
  EXPECT_DOUBLE_EQ(RationalTextToFloat("-6/4"), -1.5);
  EXPECT_DOUBLE_EQ(RationalTextToFloat("1/0"), 0.0);
  EXPECT_DOUBLE_EQ(RationalTextToFloat("12"), 0.0);
  EXPECT_DOUBLE_EQ(RationalTextToFloat("a/b"), 0.0);
  EXPECT_DOUBLE_EQ(RationalTextToFloat(""), 0.0);
  EXPECT_DOUBLE_EQ(RationalTextToFloat("x 1/2"), 0.0);
}

TEST(FormatNumber, printfLikeWithoutTheCLocale) {
  EXPECT_EQ(FormatNumber("%5.2f", 7.4, '.'), " 7.40");
  EXPECT_EQ(FormatNumber("%5.2f", 14.77, ','), "14,77");
  EXPECT_EQ(FormatNumber("F%0.1f", 2.8, '.'), "F2.8");
  EXPECT_EQ(FormatNumber("%0.0f", 7.2, '.'), "7");
  EXPECT_EQ(FormatNumber("%d%%", 42.9, '.'), "42%");
  EXPECT_EQ(FormatNumber("%-6.1f|", 1.25, '.'), "1.2   |");
  EXPECT_EQ(FormatNumber("%06.1f", -1.5, '.'), "-001.5");
  EXPECT_EQ(FormatNumber("%5.2f", 1e308, '.').find("e+308") != std::string::npos, true);
  EXPECT_THROW(FormatNumber("%5.2f %f", 1, '.'), LumatrimError);
  EXPECT_THROW(FormatNumber("%q", 1, '.'), LumatrimError);
  EXPECT_THROW(FormatNumber("%5.", 1, '.'), LumatrimError);
}

TEST(RenderFunctions, dictionaryRenderings) {
  TagRenderContext context;
  SCOPED_TRACE("components");
  EXPECT_EQ(RenderComponents(std::string("\"\x01\x02\x03\x00\"", 6), context), "YCbCr");
  EXPECT_EQ(RenderComponents(std::string("\"\x04\x05\x06\x07", 5), context), "RGB");
  EXPECT_EQ(RenderComponents("\"", context), "");

  EXPECT_EQ(RenderShutterSpeed("697/100", context).substr(0, 18), "0.0080 sec (1/125)");
  EXPECT_EQ(RenderShutterSpeed("0/1", context), "1.0000 sec");
  EXPECT_EQ(RenderShutterSpeed("1/1", context), "0.5000 sec (1/2)");
  EXPECT_EQ(RenderShutterSpeed("-2147483648/1", context), " INF sec") << "no overflow";
  EXPECT_EQ(RenderShutterSpeed("2147483647/1", context), "0.0000 sec") << "no absurd 1/x";

  EXPECT_EQ(RenderFlash("25", context), "On, auto mode");
  EXPECT_EQ(RenderFlash("0", context), "Off");
  EXPECT_EQ(RenderFlash("7", context), "On, strobe return");
  EXPECT_EQ(RenderFlash("16", context), "Off, surpressed");
  EXPECT_EQ(RenderFlash("95", context), "On, strobe return, auto mode, red-eye reduction");
  EXPECT_EQ(RenderFlash("32", context), "Off, no flash function");
  EXPECT_THROW(RenderFlash("16, 0", context), LumatrimError) << "two values end the directory walk";
  EXPECT_THROW(RenderFlash("", context), LumatrimError);

  EXPECT_EQ(RenderUserComment(std::string("ASCII\0\0\0Hi", 10), context), "Hi");
  EXPECT_EQ(RenderText16("72, 0, 105, 0, 0, 0", context), "Hi");
  EXPECT_EQ(RenderText16("72, 0, 105", context), "H") << "the number after the last comma is not read";
  EXPECT_EQ(RenderText16("", context), "");

  EXPECT_EQ(RenderGpsCoordinate("50/1, 512/100, 0/1", context), "50 Degrees 5 Minutes 7 Seconds");
  EXPECT_EQ(RenderGpsCoordinate("14/1, 25/1, 3012/100", context), "14 Degrees 25 Minutes 30 Seconds");
  EXPECT_EQ(RenderGpsCoordinate("14/1", context), "14 Degrees 0 Minutes 0 Seconds");
  EXPECT_EQ(RenderGpsTime("13/1, 5/1, 900/100", context), "13:5:9");
}
