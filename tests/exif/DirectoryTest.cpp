// Walking IFD0 and the directories it links to, in both byte orders.
#include <gtest/gtest.h>

#include "core/exif/TagTables.h"
#include "core/photo/PhotoWriter.h"
#include "exif/ExifTestKit.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

class Directory : public ::testing::TestWithParam<Order> {
 protected:
  std::unique_ptr<PhotoMetadata> Parse(const Ifd& ifd0) { return ParseIfd0(GetParam(), ifd0); }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(BothOrders, Directory, ::testing::Values(Order::Intel, Order::Motorola),
                         [](const auto& p) { return std::string(OrderName(p.param)); });

TEST_P(Directory, cameraTagsAreNamedAndRendered) {
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 20D").Short(0x0112, {6});
  ifd0.SubIfd(0x8769, Ifd().Rational(0x829A, {{1, 125}}).Short(0x8827, {200}));
  ifd0.SubIfd(0x014A, Ifd().Long(0x0100, {4000}).Short(0x0103, {6}));
  auto data = Parse(ifd0);
  const ExifData& info = *data->exif;
  EXPECT_EQ(data->outcome.Text(), "");
  EXPECT_EQ(info.BigEndian(), GetParam() == Order::Motorola);
  EXPECT_EQ(info.TagValueByName("Make") + "|" + info.CameraModel, "Canon|Canon EOS 20D") << "no trailing zero";
  EXPECT_EQ(info.TagValueByName("orientation"), "CounterClockwise 90°");
  EXPECT_EQ(info.TagValueByName("ExposureTime"), "1/125 sec");
  EXPECT_EQ(info.GetTagInt("ISOSpeedRatings"), 200);
  EXPECT_EQ(info.TagValueByName("ImageWidth"), "4000") << "SubIFDs are walked as main directories";
  EXPECT_EQ(info.TagValueByName("Compression"), "Jpeg");
  EXPECT_EQ(info.ThumbCompression, 0) << "only the thumbnail directory sets it";
  // A sub-directory's entries stand after the entries before it and before its pointer entry.
  EXPECT_LT(info.TagIndexByName("ExposureTime"), info.TagIndexByName("ExifOffset"));
  EXPECT_GT(info.TagIndexByName("ExposureTime"), info.TagIndexByName("Orientation"));
}

TEST_P(Directory, valuesAndWhatCannotBeStored) {
  Ifd ifd0;
  ifd0.Ascii(0x010E, "abc").Ascii(0x0131, "abcd").Raw(0x010D, ASCII, 6, std::string("Ab\0c\x01\0", 6));
  ifd0.Undefined(0x9000, std::string("0221\0xyz", 8)).Undefined(0xA300, "\x03");
  ifd0.Raw(0x0100, 0, 4, "abcd").Raw(0x0101, 13, 4, "abcd").Short(0x4242, {1}).Raw(0x013B, ASCII, 0, "");
  ifd0.SubIfd(0x8769, Ifd().Undefined(0x9286, std::string("ASCII\0\0\0  Hello world \0", 24)));
  auto data = Parse(ifd0);
  const ExifData& info = *data->exif;
  EXPECT_EQ(info.TagCount(), 7) << "format 0 or 13, an unknown tag and count 0 are skipped";
  const TagEntry inside = info.GetTagByName("ImageDescription"), outside = info.GetTagByName("Software");
  EXPECT_EQ(inside.Data, "abc");
  EXPECT_EQ(inside.DataOffset, 16 + 2 + 8) << "up to four bytes live in the entry's value field";
  EXPECT_EQ(outside.Raw, std::string("abcd\0", 5));
  EXPECT_EQ(outside.DataOffset, 16 + 2 + 10 * 12 + 4) << "right behind the directory";
  EXPECT_EQ(info.TagValueByName("DocumentName"), "Ab.c.");
  EXPECT_EQ(info.TagValueByName("ExifVersion"), "\"0221\"");
  EXPECT_EQ(info.ExifVersion, std::string("0221\0x", 6));
  EXPECT_EQ(info.TagValueByName("FileSource"), "\".\"") << "decode lists act on numbers only";
  EXPECT_EQ(info.TagValueByName("UserComment"), "Hello world");
}

TEST_P(Directory, loopsAndDeepChainsStop) {
  // IFD0 at 8 holds 3 entries and no out-of-line values, so the EXIF directory
  // follows at 8 + 2 + 36 + 4 = 50; the interoperability pointer names it too.
  Ifd exif;
  exif.Rational(0x829A, {{1, 60}}).WithOffset(0x8769, LONG, 1, 8);  // back to IFD0
  auto data = Parse(Ifd().SubIfd(0x8769, exif).WithOffset(0xA005, LONG, 1, 50).WithOffset(0x8825, LONG, 1, 8));
  EXPECT_EQ(CountTag(*data->exif, 0x829A), 1);
  EXPECT_EQ(CountTag(*data->exif, 0x8769), 2) << "both pointer entries are stored";

  Ifd inner = Ifd().Ascii(0x0131, "deep");
  for (int i = 0; i < 40; ++i) inner = Ifd().SubIfd(0x014A, inner);
  data = Parse(inner);
  EXPECT_EQ(data->exif->TagIndexByName("Software"), -1) << "nesting is limited";
  EXPECT_GE(CountTag(*data->exif, 0x014A), 15);
}

TEST_P(Directory, aBadDirectoryEndsOnlyItself) {
  Ifd oversized, unrenderable;  // Flash with two values cannot be rendered
  oversized.Rational(0x829A, {{1, 60}}).ForceCount(6000);
  unrenderable.Rational(0x829A, {{1, 60}}).Short(0x9209, {16, 0}).Rational(0x829D, {{4, 1}});
  auto data = Parse(Ifd().SubIfd(0x8769, oversized).Ascii(0x0110, "D70"));
  EXPECT_EQ(data->outcome.Text(), "Illegally sized directory");
  EXPECT_EQ(CountTag(*data->exif, 0x829A), 0) << "rejected whole";
  EXPECT_EQ(data->exif->TagValueByName("Model"), "D70") << "the parent goes on";
  data = Parse(Ifd().SubIfd(0x8769, unrenderable).Ascii(0x0110, "after"));
  EXPECT_EQ(data->exif->TagValueByName("ExposureTime"), "1/60 sec");
  for (const char* lost : {"Flash", "FNumber"}) EXPECT_EQ(data->exif->TagIndexByName(lost), -1) << lost;
  EXPECT_EQ(data->exif->TagValueByName("Model"), "after");
}

TEST_P(Directory, gpsAndHostileOffsets) {
  Ifd gps;
  gps.Ascii(0x01, "N").Rational(0x02, {{50, 1}, {512, 100}, {0, 1}}).Bytes(0x05, {0});
  gps.Rational(0x07, {{13, 1}, {5, 1}, {9, 1}}).Short(0x1F, {1});  // 0x1F: not in the GPS table
  gps.WithOffset(0x0014, RATIONAL, 3, 0xFFFFFFF0).Raw(0x001E, SHORT, 1, std::string(2, '\0'));
  Ifd ifd0;
  ifd0.WithOffset(0x010F, ASCII, 0x40000000, 0x7FFFFFF0).WithOffset(0x8769, LONG, 1, 0xFFFFFFF7);
  ifd0.WithOffset(0x014A, LONG, 1, 0x7FFFFFFF).SubIfd(0x8825, gps).Ascii(0x0110, "still here");
  auto data = Parse(ifd0);
  const ExifData& info = *data->exif;
  EXPECT_EQ(info.TagValueByName("GPSLatitudeRef"), "N");
  EXPECT_EQ(info.TagValueByName("GPSLatitude"), "50 Degrees 5 Minutes 7 Seconds");
  EXPECT_EQ(info.TagValueByName("GPSAltitudeRef"), "Sealevel");
  EXPECT_EQ(info.TagValueByName("GPSTimeStamp"), "13:5:9");
  EXPECT_EQ(info.TagValueByName("GPSDestLatitude"), "0 Degrees 0 Minutes 0 Seconds") << "read outside: zeros";
  EXPECT_EQ(info.TagValueByName("GPSDifferential"), "0");
  EXPECT_EQ(info.TagValueByName("Make"), "");
  EXPECT_EQ(info.TagValueByName("Model"), "still here");
}

TEST_P(Directory, thumbnailDirectoryOnDemand) {
  const std::string thumb = "\xFF\xD8\xFF\xDB" + std::string(400, 'q') + "\xFF\xD9";
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Rational(0x011A, {{72, 1}}).Thumbnail(thumb);
  auto data = Parse(Ifd().Ascii(0x010F, "C").Next(ifd1));
  ExifData& info = *data->exif;
  TagEntry entry;
  EXPECT_FALSE(info.NextThumbTag(TagGroup::Standard, entry)) << "nothing before ParseThumbnailDirectory";
  EXPECT_EQ(data->CutThumbnail(), thumb);
  info.ParseThumbnailDirectory();
  info.ParseThumbnailDirectory();
  EXPECT_EQ(info.ThumbTagCount(), 4) << "a second call does not duplicate";
  EXPECT_EQ(info.ThumbCompression, 6);
  ASSERT_TRUE(info.NextThumbTag(TagGroup::Standard, entry) && info.NextThumbTag(TagGroup::Standard, entry));
  EXPECT_EQ(entry.Desc + "=" + entry.Data, "XResolution=72.00");
  EXPECT_EQ(info.TagCount(), 1) << "thumbnail tags stay out of TagList";

  for (uint32_t link : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 22u}) {  // none, or hostile
    std::string tiff = TiffBuilder(GetParam()).Bytes(Ifd().Ascii(0x010F, "Canon"));
    tiff.replace(8 + 2 + 12, 4, U32(link, GetParam()));  // the next-IFD field after the one entry
    data = ScanBytes(JpegBuilder().Soi().App1Exif(tiff).Sos().Bytes());
    data->ParseThumbnailDirectory();
    EXPECT_EQ(data->exif->ThumbTagCount(), 0) << link;
    EXPECT_EQ(data->CutThumbnail(), "");
    if (link == 0) { EXPECT_EQ(data->outcome.Text(), "Illegally sized directory"); }
  }
}

TEST_P(Directory, imageSizeIsTheLastMetAndIsRewrittenInItsOwnType) {
  Ifd exif;
  exif.Short(0xA002, {3000}).Long(0xA003, {2000});
  auto data = Parse(Ifd().Long(0x0100, {160}).Short(0x0101, {120}).SubIfd(0x8769, exif));
  ExifData& info = *data->exif;
  EXPECT_EQ(std::pair(info.ImageWidth, info.ImageHeight), std::pair(3000, 2000));
  EXPECT_EQ(info.WidthOffset, info.GetTagByName("ExifImageWidth").DataOffset);
  SetPictureSize(*data, 480, 720);
  EXPECT_EQ(info.ImageWidth, 3000) << "the parsed size is kept";
  const std::string segment = data->Segment(data->exifSegment)->content;
  auto again = ScanBytes(JpegBuilder().Soi().Append("\xFF\xE1").Append(segment).Sos().Bytes());
  EXPECT_EQ(std::pair(again->exif->ImageWidth, again->exif->ImageHeight), std::pair(720, 480));
  EXPECT_EQ(again->exif->GetTagByName("ExifImageWidth").FormatCode, SHORT);

  data = Parse(Ifd().Ascii(0x010F, "x"));
  const std::string before = data->Segment(data->exifSegment)->content;
  SetPictureSize(*data, 10, 10);
  EXPECT_EQ(data->Segment(data->exifSegment)->content, before) << "no size entry: nothing written";
}

// The picture's size stands in IFD0 and again in the EXIF sub-IFD, in whatever
// integer type the camera chose; a new size reaches all of them and nothing
// else: not the thumbnail's IFD1, not a SubIFD's image, not a field that holds
// the offset of several values.
TEST_P(Directory, everySizeEntryOfThePictureFollowsTheNewSize) {
  auto sizes = [](const std::vector<TagEntry>& list) {
    std::vector<std::string> out;
    for (const TagEntry& e : list)
      if (e.Tag == 0x0100 || e.Tag == 0x0101 || e.Tag == 0xA002 || e.Tag == 0xA003)
        out.push_back(e.Name + "=" + e.Data + "/" + std::to_string(e.FormatCode));
    return out;
  };
  auto resized = [&](const Ifd& ifd0) {
    auto data = Parse(ifd0);
    data->exif->ParseThumbnailDirectory();  // the detail window parses IFD1 before a save
    SetPictureSize(*data, 600, 800);
    const std::string segment = data->Segment(data->exifSegment)->content;
    EXPECT_EQ(data->exif->Block, segment) << "the parser's copy is kept in step";
    auto again = ScanBytes(JpegBuilder().Soi().Append("\xFF\xE1").Append(segment).Sos().Bytes());
    again->exif->ParseThumbnailDirectory();
    return std::pair(sizes(again->exif->TagList), sizes(again->exif->ThumbTagList));
  };

  Ifd camera;
  camera.Short(0x0100, {3000}).Long(0x0101, {2000});
  camera.SubIfd(0x8769, Ifd().Typed(0xA002, SLONG, {3000}).Short(0xA003, {2000}));
  camera.SubIfd(0x014A, Ifd().Long(0x0100, {4000}).Long(0x0101, {3000}));
  camera.Next(Ifd().Short(0x0100, {160}).Short(0x0101, {120}).Short(0x0103, {6}));
  const auto [tags, thumbnail] = resized(camera);
  EXPECT_EQ(tags, (std::vector<std::string>{"ImageWidth=800/3", "ImageLength=600/4", "ExifImageWidth=800/9",
                                            "ExifImageLength=600/3", "ImageWidth=4000/4", "ImageLength=3000/4"}));
  EXPECT_EQ(thumbnail, (std::vector<std::string>{"ImageWidth=160/3", "ImageLength=120/3"}));

  Ifd offsets;
  offsets.Long(0x0100, {3000, 3000}).SubIfd(0x8769, Ifd().Long(0xA002, {3000}));
  EXPECT_EQ(resized(offsets).first, (std::vector<std::string>{"ImageWidth=3000, 3000/4", "ExifImageWidth=800/4"}));
}

// Tag number 0 is a real tag in the GPS table (GPSVersionID); only tags that
// no table holds are left out.
TEST_P(Directory, gpsVersionIdIsStoredAndUnknownTagsAreNot) {
  Ifd gps;
  gps.Bytes(0x00, {2, 2, 0, 0}).Ascii(0x01, "N").Short(0x7F, {1});
  auto data = Parse(Ifd().Ascii(0x010F, "Canon").Short(0x4242, {1}).SubIfd(0x8825, gps));
  const ExifData& info = *data->exif;
  EXPECT_EQ(info.TagValueByName("GPSVersionID"), "2, 2, 0, 0");
  EXPECT_EQ(info.GetTagByName("GPSVersionID").Desc, "GPSVersion ID");
  EXPECT_EQ(info.TagValueByName("GPSLatitudeRef"), "N");
  EXPECT_EQ(info.TagCount(), 4) << "Make, GPSVersionID, GPSLatitudeRef, GPSInfo; not 0x4242 nor GPS 0x7F";
  TagEntry entry;
  ExifData listed;
  listed.AddTag(info.GetTagByName("GPSVersionID"));
  listed.AddTag(LookupTagDef(0x7F, DirectoryKind::Gps));
  EXPECT_TRUE(listed.NextTag(TagGroup::Standard, entry) && entry.Name == "GPSVersionID" && !listed.NextTag(TagGroup::Standard, entry))
      << "AddTag takes the row of tag 0, not the Unknown row";
}
