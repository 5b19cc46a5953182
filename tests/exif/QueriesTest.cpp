#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/exif/ImageInfo.h"
#include "core/exif/TagTables.h"
#include "exif/ExifTestKit.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

// A photo with a focal length, a focal-plane resolution and a size.
std::unique_ptr<TimgData> FocalPhoto(Order order, std::pair<uint32_t, uint32_t> focal, int unit, bool xRes,
                                     bool yRes, int resolutionUnit = 0, bool own35 = false) {
  Ifd exif;
  exif.Rational(0x920A, {focal}).Long(0xA002, {2048}).Long(0xA003, {1536});
  if (unit) exif.Short(0xA210, {static_cast<uint16_t>(unit)});
  if (xRes) exif.Rational(0xA20E, {{3000, 1}});
  if (yRes) exif.Rational(0xA20F, {{3000, 1}});
  if (own35) exif.Short(0xA405, {35});
  Ifd ifd0;
  if (resolutionUnit) ifd0.Short(0x0128, {static_cast<uint16_t>(resolutionUnit)});
  ifd0.SubIfd(0x8769, exif);
  return ParseIfd0(order, ifd0);
}

std::string Focal35(const TimgData& data) {
  const int i = data.ExifInfo->TagIndexByName("FocalLengthIn35mmFilm");
  return i < 0 ? "<none>" : data.ExifInfo->TagList[i].Data;
}

}  // namespace

TEST(AddFocalLength35, workedExampleAndItsVariants) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(OrderName(order));
    {
      SCOPED_TRACE("7.4 mm, inch, 3000/3000, 2048x1536");
      auto data = FocalPhoto(order, {74, 10}, 2, true, true);
      EXPECT_EQ(Focal35(*data), "14.77");
      const TTagEntry entry = data->ExifInfo->TagList.back();
      EXPECT_EQ(entry.Tag, 0xA405);
      EXPECT_EQ(entry.Desc, "Focal Length in 35mm Film");
      EXPECT_EQ(entry.FormatString, "%s mm");
      EXPECT_EQ(entry.FormatCode, 10);
      EXPECT_EQ(entry.Group, 0);
      EXPECT_TRUE(entry.Raw.empty());
    }
    SCOPED_TRACE("centimetres");
    EXPECT_EQ(Focal35(*FocalPhoto(order, {74, 10}, 3, true, true)), "37.52");
    SCOPED_TRACE("no focal-plane unit, ResolutionUnit inch");
    EXPECT_EQ(Focal35(*FocalPhoto(order, {74, 10}, 0, true, true, 2)), "14.77");
    SCOPED_TRACE("a value below 10 keeps the field width");
    EXPECT_EQ(Focal35(*FocalPhoto(order, {37, 10}, 2, true, true)), " 7.39");
    SCOPED_TRACE("only the X resolution");
    EXPECT_EQ(Focal35(*FocalPhoto(order, {74, 10}, 2, true, false)), "<none>");
    SCOPED_TRACE("unknown unit");
    EXPECT_EQ(Focal35(*FocalPhoto(order, {74, 10}, 1, true, true)), "<none>");
    SCOPED_TRACE("zero focal length");
    EXPECT_EQ(Focal35(*FocalPhoto(order, {0, 10}, 2, true, true)), "<none>");
    SCOPED_TRACE("recorded by the camera");
    auto own = FocalPhoto(order, {74, 10}, 2, true, true, 0, true);
    int count = 0;
    for (const auto& e : own->ExifInfo->TagList) count += e.Tag == 0xA405;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(Focal35(*own), "35.00 mm");
  }
}

TEST(AddFocalLength35, usesTheContainersDecimalSeparator) {
  const std::string jpeg = CameraJpeg(Order::Intel, [] {
    Ifd exif;
    exif.Rational(0x920A, {{74, 10}}).Long(0xA002, {2048}).Long(0xA003, {1536}).Short(0xA210, {2});
    exif.Rational(0xA20E, {{3000, 1}}).Rational(0xA20F, {{3000, 1}});
    Ifd ifd0;
    ifd0.SubIfd(0x8769, exif);
    return ifd0;
  }());
  TimgData data;
  data.DecimalSeparator = ',';
  MemoryByteReader input(jpeg);
  ASSERT_TRUE(data.ScanJpegSegments(input));
  EXPECT_EQ(data.ExifInfo->TagValueByName("FocalLengthin35mmFilm"), "14,77");
  EXPECT_EQ(data.ExifInfo->TagValueByName("FocalLength"), " 7,40 mm");
}

TEST(Enumeration, groupsCursorsAndLookups) {
  TImageInfo info(nullptr);
  TTagEntry a = LookupTagDef(0x010F, kDirMain);
  a.Data = "Canon";
  info.AddTag(a);
  info.AddCustomTag("Macro Mode", "Normal", 2);
  TTagEntry b = LookupTagDef(0x0110, kDirMain);
  b.Data = "EOS";
  info.AddTag(b);
  TTagEntry unknown = LookupTagDef(0x4242, kDirMain);
  EXPECT_EQ(info.AddTag(unknown), 2) << "Tag 0 is refused; the index of the last entry comes back";

  TTagEntry entry;
  SCOPED_TRACE("group 0 in stored order");
  info.ResetTagCursor();
  ASSERT_TRUE(info.NextTag(0, entry));
  EXPECT_EQ(entry.Data, "Canon");
  ASSERT_TRUE(info.NextTag(0, entry));
  EXPECT_EQ(entry.Data, "EOS");
  EXPECT_FALSE(info.NextTag(0, entry));
  EXPECT_EQ(entry.Name, "") << "a failed step clears the entry";

  SCOPED_TRACE("group 1 after a reset");
  info.ResetTagCursor();
  ASSERT_TRUE(info.NextTag(1, entry));
  EXPECT_EQ(entry.Desc, "Macro Mode");
  EXPECT_EQ(entry.Raw, "Normal");
  EXPECT_EQ(entry.Tag, 0);
  EXPECT_EQ(entry.FormatCode, 2);
  EXPECT_FALSE(info.NextTag(1, entry));

  SCOPED_TRACE("lookups");
  EXPECT_EQ(info.TagIndexByName("MODEL"), 2);
  EXPECT_EQ(info.TagValueByName("nothing"), "");
  EXPECT_EQ(info.GetTagByName("nothing").Tag, 0);
  EXPECT_EQ(info.GetTagByName("nothing").Name, "");
  EXPECT_EQ(info.GetTagNumber("Macro Mode"), 0.0) << "entries with Tag 0 have no number";
  EXPECT_EQ(info.GetTagInt("nothing"), 0);

  TImageInfo empty(nullptr);
  empty.ResetTagCursor();
  EXPECT_FALSE(empty.NextTag(1, entry));
  EXPECT_FALSE(empty.NextThumbTag(0, entry));
}

TEST(GetTagInt, roundsHalvesToEven) {
  TImageInfo info(nullptr);
  auto add = [&](const char* name, uint32_t n, uint32_t d) {
    TTagEntry e = EntryFromRow(MainTagTable[MainRowByName(name)]);
    e.Raw = U32(n, Order::Intel) + U32(d, Order::Intel);
    e.FormatCode = RATIONAL;
    info.AddTag(e);
  };
  add("XResolution", 5, 2);
  add("YResolution", 7, 2);
  add("FocalLength", 11, 4);
  EXPECT_EQ(info.GetTagInt("XResolution"), 2);
  EXPECT_EQ(info.GetTagInt("YResolution"), 4);
  EXPECT_EQ(info.GetTagInt("FocalLength"), 3);
}

namespace {

std::string MarkAndKeep(const std::string& value, TagRenderContext& context) {
  context.BlockRendered = true;
  context.Info->AddCustomTag("Derived", "from " + value, 2);
  return "ignored";
}
std::string Shout(const std::string& value, TagRenderContext&) { return value + "!"; }
std::string Fail(const std::string&, TagRenderContext&) { throw LumatrimError("bad value"); }

constexpr TTagDef kMakerTable[] = {
    {0, 0x0001, "First",   "First",   "",          "", nullptr},
    {0, 0x0002, "Dropped", "sKiP",    "",          "", nullptr},
    {0, 0x0003, "Quality", "Quality", "1:Fine",    "", Shout},
    {0, 0x0004, "Block",   "Block",   "",          "", MarkAndKeep},
    {0, 0x0005, "Text",    "Text",    "",          "", nullptr},
    {0, 0x0006, "Broken",  "Broken",  "",          "", Fail},
};

}  // namespace

TEST(ParseMakerDirectory, walksAMakerTable) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(OrderName(order));
    Ifd maker;
    maker.Short(0x0001, {7})
        .Short(0x0002, {1})
        .Short(0x0003, {1})
        .Short(0x0004, {1, 2, 3})
        .Ascii(0x0005, "long text value")
        .Short(0x0009, {1});
    const std::string block = maker.Serialize(order, 0);
    TImageInfo info(nullptr);
    info.BigEndian = order == Order::Motorola;
    info.SetBuffer("exif bytes");
    // Offsets count from the block's first byte: adjust = dirOffset + 1.
    info.ParseMakerDirectory(block, kMakerTable, 0, 1);
    EXPECT_EQ(info.GetBuffer(), "exif bytes") << "the buffer is restored";
    ASSERT_EQ(info.TagCount(), 5);
    EXPECT_EQ(info.TagList[0].Name, "First");
    EXPECT_EQ(info.TagList[0].Data, "7");
    EXPECT_EQ(info.TagList[0].Group, 1);
    EXPECT_EQ(info.TagList[0].DataPos, 0);
    EXPECT_EQ(info.TagList[0].Size, 0);
    EXPECT_EQ(info.TagList[1].Data, "Fine!");
    EXPECT_EQ(info.TagList[2].Name, "Derived") << "items added while rendering precede their parent";
    EXPECT_EQ(info.TagList[2].Data, "from 1, 2, 3");
    EXPECT_EQ(info.TagList[3].Data, "1, 2, 3") << "a blocked entry keeps its rendered value";
    EXPECT_EQ(info.TagList[4].Data, "\"long text value\"");
    EXPECT_EQ(info.ErrorText, "");
  }
}

TEST(ParseMakerDirectory, errorsStopTheWalkWithAMessage) {
  Ifd maker;
  maker.Short(0x0001, {7}).Short(0x0006, {1}).Short(0x0003, {1});
  TImageInfo info(nullptr);
  info.SetBuffer("exif");
  info.ParseMakerDirectory(maker.Serialize(Order::Intel, 0), kMakerTable, 0, 1);
  EXPECT_EQ(info.ErrorText, "Error Detected = bad value");
  EXPECT_EQ(info.TagCount(), 1);
  EXPECT_EQ(info.GetBuffer(), "exif");
}

TEST(ParseMakerDirectory, valuesPastTheNoteComeFromTheExifSegment) {
  // The note's value offset points past the note's own bytes; the value is
  // read from the EXIF segment at MakerNotePos - 1 + position.
  Ifd maker;
  maker.WithOffset(0x0005, ASCII, 6, 100);
  const std::string block = maker.Serialize(Order::Intel, 0);
  std::string exif(300, 'x');
  exif.replace(20 - 1 + 101 - 1, 6, std::string("inside", 6));
  TImageInfo info(nullptr);
  info.SetBuffer(exif);
  info.MakerNotePos = 20;
  info.ParseMakerDirectory(block, kMakerTable, 0, 1);
  ASSERT_EQ(info.TagCount(), 1);
  EXPECT_EQ(info.TagList[0].Data, "\"inside\"");

  SCOPED_TRACE("hostile offsets and counts");
  Ifd hostile;
  hostile.WithOffset(0x0005, ASCII, 0xFFFFFFFF, 0xFFFFFFFF).WithOffset(0x0001, SHORT, 0x7FFFFFFF, 0x80000000);
  TImageInfo other(nullptr);
  other.SetBuffer(exif);
  other.MakerNotePos = 0x7FFFFFFF;
  other.ParseMakerDirectory(hostile.Serialize(Order::Intel, 0), kMakerTable, 0, -5);
  EXPECT_EQ(other.TagCount(), 2);
  other.ParseMakerDirectory("", kMakerTable, 1000, 0);
  other.ParseMakerDirectory("\xFF", kMakerTable, -1000, 0);
  EXPECT_EQ(other.TagCount(), 2);
}
