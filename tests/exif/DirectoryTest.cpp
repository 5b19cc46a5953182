#include <gtest/gtest.h>

#include <span>

#include "core/bytes/Error.h"
#include "core/exif/ImageInfo.h"
#include "core/exif/TagTables.h"
#include "exif/ExifTestKit.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

class Directory : public ::testing::TestWithParam<Order> {
 protected:
  Order order() const { return GetParam(); }
  std::unique_ptr<TimgData> Parse(const Ifd& ifd0) { return ParseIfd0(order(), ifd0); }
};

int CountTag(const TImageInfo& info, int tag) {
  int n = 0;
  for (const auto& e : info.TagList) n += e.Tag == tag;
  return n;
}

int IndexOfTag(const TImageInfo& info, int tag) {
  for (int i = 0; i < info.TagCount(); ++i)
    if (info.TagList[i].Tag == tag) return i;
  return -1;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(BothOrders, Directory, ::testing::Values(Order::Intel, Order::Motorola),
                         [](const auto& p) { return std::string(OrderName(p.param)); });

TEST_P(Directory, cameraTagsAreNamedAndRendered) {
  Ifd exif;
  exif.Rational(0x829A, {{1, 125}}).Rational(0x829D, {{28, 10}}).Short(0x8827, {200});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 20D").Short(0x0112, {6}).SubIfd(0x8769, exif);
  auto data = Parse(ifd0);
  ASSERT_TRUE(data->ExifInfo);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(data->ErrorText, "");
  EXPECT_EQ(info.TagValueByName("Make"), "Canon") << "the trailing zero is dropped";
  EXPECT_EQ(info.CameraMake, "Canon");
  EXPECT_EQ(info.CameraModel, "Canon EOS 20D");
  EXPECT_EQ(info.TagValueByName("orientation"), "CounterClockwise 90°");
  EXPECT_EQ(info.TagValueByName("ExposureTime"), "1/125 sec");
  EXPECT_EQ(info.TagValueByName("FNumber"), "F2.8");
  EXPECT_EQ(info.TagValueByName("ISOSpeedRatings"), "200");
  EXPECT_EQ(info.GetTagByName("ISOSpeedRatings").Desc, "ISOSpeed Ratings");
  EXPECT_EQ(info.GetTagInt("isospeedratings"), 200);
  EXPECT_DOUBLE_EQ(info.GetTagNumber("FNumber"), 2.8);
  EXPECT_EQ(info.BigEndian, order() == Order::Motorola);

  // The sub-directory's entries are stored before its pointer entry.
  EXPECT_LT(IndexOfTag(info, 0x829A), IndexOfTag(info, 0x8769));
  EXPECT_GT(IndexOfTag(info, 0x829A), IndexOfTag(info, 0x0112));
}

TEST_P(Directory, valuesOfFourBytesLiveInTheEntry) {
  Ifd ifd0;
  ifd0.Ascii(0x010E, "abc").Ascii(0x0131, "abcd");
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  const TTagEntry inside = info.GetTagByName("ImageDescription");
  const TTagEntry outside = info.GetTagByName("Software");
  EXPECT_EQ(inside.Data, "abc");
  EXPECT_EQ(outside.Data, "abcd");
  EXPECT_EQ(inside.DataPos, 17 + 2 + 8) << "value field of the first entry";
  EXPECT_EQ(outside.DataPos, 17 + 2 + 2 * 12 + 4) << "right behind the directory";
  EXPECT_EQ(outside.Size, 5);
  EXPECT_EQ(outside.Raw, std::string("abcd\0", 5));
}

TEST_P(Directory, entriesThatCannotBeStoredAreSkipped) {
  Ifd ifd0;
  ifd0.Raw(0x010E, 0, 4, "abcd")     // format 0: no bytes
      .Raw(0x0131, 13, 4, "abcd")    // format above 12
      .Short(0x4242, {1})            // not in the dictionary
      .Raw(0x013B, ASCII, 0, "")     // count 0
      .Ascii(0x0110, "kept");
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  ASSERT_EQ(info.TagCount(), 1);
  EXPECT_EQ(info.TagList[0].Name, "Model");
}

TEST_P(Directory, asciiAndUndefinedValueTexts) {
  Ifd ifd0;
  ifd0.Raw(0x010E, ASCII, 6, std::string("Ab\0c\x01\0", 6))
      .Undefined(0x9000, std::string("0221\0xyz", 8))
      .Undefined(0xA300, std::string("\x03", 1));
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(info.TagValueByName("ImageDescription"), "Ab.c.");
  EXPECT_EQ(info.TagValueByName("ExifVersion"), "\"0221\"");
  EXPECT_EQ(info.ExifVersion, std::string("0221\0x", 6));
  EXPECT_EQ(info.TagValueByName("FileSource"), "\".\"") << "decode lists act on numbers only";
}

TEST_P(Directory, userCommentSkipsItsCodeHeader) {
  Ifd exif;
  exif.Undefined(0x9286, std::string("ASCII\0\0\0  Hello world \0", 24));
  Ifd ifd0;
  ifd0.SubIfd(0x8769, exif);
  auto data = Parse(ifd0);
  EXPECT_EQ(data->ExifInfo->TagValueByName("UserComment"), "Hello world");
}

TEST_P(Directory, eachDirectoryIsWalkedOnce) {
  Ifd exif;
  exif.Rational(0x829A, {{1, 60}}).WithOffset(0x8769, LONG, 1, 8);  // back to IFD0
  Ifd ifd0;
  // IFD0 at 8 holds 3 entries and no out-of-line values, so the EXIF
  // directory follows at 8 + 2 + 36 + 4 = 50; the interoperability pointer
  // names the same place.
  ifd0.SubIfd(0x8769, exif).WithOffset(0xA005, LONG, 1, 50).WithOffset(0x8825, LONG, 1, 8);
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(CountTag(info, 0x829A), 1);
  EXPECT_EQ(CountTag(info, 0x8769), 2) << "both pointer entries are stored";
  EXPECT_EQ(CountTag(info, 0xA005), 1);
}

TEST_P(Directory, oversizedDirectoryIsRejectedWhole) {
  Ifd exif;
  exif.Rational(0x829A, {{1, 60}}).ForceCount(6000);
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Nikon").SubIfd(0x8769, exif).Ascii(0x0110, "D70");
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(data->ErrorText, "Illegally sized directory");
  EXPECT_EQ(CountTag(info, 0x829A), 0);
  EXPECT_EQ(info.TagValueByName("Model"), "D70") << "the parent goes on";
}

TEST_P(Directory, renderErrorEndsOnlyThatDirectory) {
  Ifd exif;
  exif.Rational(0x829A, {{1, 60}}).Short(0x9209, {16, 0}).Rational(0x829D, {{4, 1}});
  Ifd ifd0;
  ifd0.SubIfd(0x8769, exif).Ascii(0x0110, "after");
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(info.TagValueByName("ExposureTime"), "1/60 sec");
  EXPECT_EQ(info.TagIndexByName("Flash"), -1);
  EXPECT_EQ(info.TagIndexByName("FNumber"), -1);
  EXPECT_EQ(info.TagValueByName("Model"), "after");
}

TEST_P(Directory, hostileOffsetsReadNothingOutside) {
  Ifd gps;
  gps.WithOffset(0x0002, RATIONAL, 3, 0xFFFFFFF0).Raw(0x001E, SHORT, 1, std::string(2, '\0'));
  Ifd ifd0;
  ifd0.WithOffset(0x010F, ASCII, 0x40000000, 0x7FFFFFF0)
      .WithOffset(0x8769, LONG, 1, 0xFFFFFFF7)
      .WithOffset(0x014A, LONG, 1, 0x7FFFFFFF)
      .SubIfd(0x8825, gps)
      .Ascii(0x0110, "still here");
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(info.TagValueByName("Make"), "");
  EXPECT_EQ(info.TagValueByName("GPSLatitude"), "0 Degrees 0 Minutes 0 Seconds");
  EXPECT_EQ(info.TagValueByName("GPSDifferential"), "0");
  EXPECT_EQ(info.TagValueByName("Model"), "still here");
}

TEST_P(Directory, gpsDirectoryUsesTheGpsTable) {
  Ifd gps;
  gps.Ascii(0x01, "N").Rational(0x02, {{50, 1}, {512, 100}, {0, 1}}).Bytes(0x05, {0})
      .Rational(0x07, {{13, 1}, {5, 1}, {9, 1}}).Short(0x1F, {1});
  Ifd ifd0;
  ifd0.SubIfd(0x8825, gps);
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(info.TagValueByName("GPSLatitudeRef"), "N");
  EXPECT_EQ(info.TagValueByName("GPSLatitude"), "50 Degrees 5 Minutes 7 Seconds");
  EXPECT_EQ(info.TagValueByName("GPSAltitudeRef"), "Sealevel");
  EXPECT_EQ(info.TagValueByName("GPSTimeStamp"), "13:5:9");
  EXPECT_EQ(info.TagCount(), 5) << "tag 0x1F is unknown, the GPSInfo entry is stored";
}

TEST_P(Directory, thumbnailDirectoryOnDemand) {
  std::string thumb = std::string("\xFF\xD8\xFF\xDB", 4) + std::string(400, 'q') + "\xFF\xD9";
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Rational(0x011A, {{72, 1}}).Thumbnail(thumb);
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Next(ifd1);
  auto data = Parse(ifd0);
  TImageInfo& info = *data->ExifInfo;
  TTagEntry entry;
  info.ResetThumbTagCursor();
  EXPECT_FALSE(info.NextThumbTag(0, entry)) << "nothing before ParseThumbnailDirectory";
  EXPECT_GT(info.Ifd1Offset, 21);
  EXPECT_TRUE(data->ThumbnailPresent());
  EXPECT_EQ(data->CutThumbnail(), thumb);

  info.ParseThumbnailDirectory();
  EXPECT_EQ(info.ThumbCompression, 6);
  info.ResetThumbTagCursor();
  ASSERT_TRUE(info.NextThumbTag(0, entry));
  EXPECT_EQ(entry.Desc, "Compression");
  EXPECT_EQ(entry.Data, "Jpeg");
  ASSERT_TRUE(info.NextThumbTag(0, entry));
  EXPECT_EQ(entry.Data, "72.00");
  EXPECT_EQ(info.TagCount(), 1) << "thumbnail tags stay out of TagList";

  info.ParseThumbnailDirectory();
  EXPECT_EQ(info.ThumbTagCount(), 4) << "a second call does not duplicate";
}

TEST_P(Directory, photoWithoutIfd1HasNoThumbnailTags) {
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon");
  auto data = Parse(ifd0);
  TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(info.Ifd1Offset, 0);
  EXPECT_FALSE(data->ThumbnailPresent());
  EXPECT_EQ(data->CutThumbnail(), "");
  info.ParseThumbnailDirectory();
  EXPECT_EQ(data->ErrorText, "Illegally sized directory");
  EXPECT_EQ(info.ThumbTagCount(), 0);
}

TEST_P(Directory, updateImageSizeWritesInTheEntrysOwnType) {
  Ifd exif;
  exif.Short(0xA002, {3000}).Long(0xA003, {2000});
  Ifd ifd0;
  ifd0.SubIfd(0x8769, exif);
  auto data = Parse(ifd0);
  TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(info.ImageWidth, 3000);
  EXPECT_EQ(info.ImageHeight, 2000);
  info.UpdateImageSize(480, 720);

  // Parse the written segment again: both fields carry the new size.
  const std::string segment = data->Slot(data->ExifSection)->Content;
  const std::string jpeg = JpegBuilder().Soi().Append("\xFF\xE1").Append(segment).Sos().Bytes();
  auto again = ScanBytes(jpeg);
  ASSERT_TRUE(again->ExifInfo);
  EXPECT_EQ(again->ExifInfo->ImageWidth, 720);
  EXPECT_EQ(again->ExifInfo->ImageHeight, 480);
  EXPECT_EQ(again->ExifInfo->GetTagByName("ExifImageWidth").FormatCode, SHORT);
  EXPECT_EQ(info.ImageWidth, 3000) << "the parsed size is kept";
}

TEST_P(Directory, updateImageSizeWithoutSizeDoesNothing) {
  Ifd ifd0;
  ifd0.Ascii(0x010F, "x");
  auto data = Parse(ifd0);
  const std::string before = data->Slot(data->ExifSection)->Content;
  data->ExifInfo->UpdateImageSize(10, 10);
  EXPECT_EQ(data->Slot(data->ExifSection)->Content, before);
}

TEST_P(Directory, deepChainsOfDirectoriesStop) {
  Ifd inner;
  inner.Ascii(0x0131, "deep");
  for (int i = 0; i < 40; ++i) {
    Ifd outer;
    outer.SubIfd(0x014A, inner);
    inner = outer;
  }
  auto data = Parse(inner);
  EXPECT_EQ(data->ExifInfo->TagIndexByName("Software"), -1) << "nesting is limited";
  EXPECT_GE(CountTag(*data->ExifInfo, 0x014A), 15);
}

TEST_P(Directory, theLastSizeEntryMetWins) {
  Ifd exif;
  exif.Long(0xA002, {3000}).Long(0xA003, {2000});
  Ifd ifd0;
  ifd0.Long(0x0100, {160}).Short(0x0101, {120}).SubIfd(0x8769, exif);
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(info.ImageWidth, 3000);
  EXPECT_EQ(info.ImageHeight, 2000);
  EXPECT_EQ(info.WidthPos, info.GetTagByName("ExifImageWidth").DataPos);
  EXPECT_EQ(info.HeightPos, info.GetTagByName("ExifImageLength").DataPos);
}

TEST_P(Directory, hostileIfd1LinksGiveNoThumbnail) {
  for (uint32_t link : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 22u}) {
    SCOPED_TRACE(link);
    Ifd ifd0;
    ifd0.Ascii(0x010F, "Canon");
    std::string tiff = TiffBuilder(order()).Bytes(ifd0);
    tiff.replace(8 + 2 + 12, 4, U32(link, order()));  // the next-IFD field after the one entry
    auto data = ScanBytes(JpegBuilder().Soi().App1Exif(tiff).Sos().Bytes());
    data->ExifInfo->ParseThumbnailDirectory();
    EXPECT_EQ(data->ExifInfo->ThumbTagCount(), 0);
    EXPECT_EQ(data->CutThumbnail(), "");
  }
}

TEST_P(Directory, subIfdsAreWalkedAsMainDirectories) {
  Ifd sub;
  sub.Long(0x0100, {4000}).Short(0x0103, {6});
  Ifd ifd0;
  ifd0.SubIfd(0x014A, sub);
  auto data = Parse(ifd0);
  const TImageInfo& info = *data->ExifInfo;
  EXPECT_EQ(info.TagValueByName("ImageWidth"), "4000");
  EXPECT_EQ(info.TagValueByName("Compression"), "Jpeg");
  EXPECT_EQ(info.ThumbCompression, 0) << "only the thumbnail directory sets it";
}
