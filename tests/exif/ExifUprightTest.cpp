// Editing an EXIF block for an upright picture: Orientation 1 and a new
// thumbnail in IFD1, with every other tag kept, in both byte orders.
#include <gtest/gtest.h>

#include "ExifTestKit.h"
#include "core/exif/ExifUpright.h"
#include "support/OrientedPhotos.h"

namespace lumatrim::test {
namespace {

// The APP1 segment as the reader keeps it: from the length field on.
std::string App1(const std::string& tiff) { return JpegBuilder().App1Exif(tiff).Bytes().substr(2); }

// Every tag the parser finds, name and value, IFD1's included.
std::vector<std::string> TagTexts(const std::string& app1) {
  auto data = ScanBytes(JpegBuilder().Soi().Append("\xFF\xE1" + app1).Dqt().Sos().Bytes());
  std::vector<std::string> texts;
  if (!data->exif) return texts;
  data->exif->ParseThumbnailDirectory();
  for (const auto& e : data->exif->TagList) texts.push_back(e.Name + "=" + e.Data);
  for (const auto& e : data->exif->ThumbTagList) texts.push_back("IFD1 " + e.Name + "=" + e.Data);
  return texts;
}

std::vector<std::string> Without(std::vector<std::string> texts, const std::string& prefix) {
  std::erase_if(texts, [&](const std::string& t) { return t.rfind(prefix, 0) == 0; });
  return texts;
}

size_t LengthField(const std::string& app1) {
  return static_cast<size_t>(static_cast<uint8_t>(app1[0])) << 8 | static_cast<uint8_t>(app1[1]);
}

std::string Thumbnail(int width, int height) {
  return WithoutJfifHeader(EncodedJpeg(LandmarkPicture(width, height), 80));
}

Ifd CameraIfd0(int orientation, const Ifd* ifd1) {
  Ifd exif;
  exif.Rational(0x829A, {{1, 125}}).Long(0xA002, {3000}).Long(0xA003, {2000});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Short(0x0112, {uint16_t(orientation)}).SubIfd(0x8769, exif);
  if (ifd1) ifd0.Next(*ifd1);
  return ifd0;
}

TEST(ExifUpright, OrientationIsReadFromIfd0AndSetToOneInBothDirectories) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(OrderName(order));
    Ifd ifd1;
    ifd1.Short(0x0103, {6}).Short(0x0112, {6}).Thumbnail(Thumbnail(16, 8));
    std::string app1 = App1(TiffBuilder(order).Bytes(CameraIfd0(6, &ifd1)));
    const std::vector<std::string> before = TagTexts(app1);
    EXPECT_EQ(ExifOrientation(app1), 6);
    EXPECT_TRUE(SetOrientationNormal(app1));
    EXPECT_EQ(ExifOrientation(app1), 1);
    EXPECT_FALSE(SetOrientationNormal(app1)) << "already normal";
    const std::vector<std::string> after = TagTexts(app1);
    EXPECT_EQ(Without(Without(after, "Orientation"), "IFD1 Orientation"),
              Without(Without(before, "Orientation"), "IFD1 Orientation"));
    EXPECT_EQ(std::count(after.begin(), after.end(), "Orientation=Normal"), 1);
    EXPECT_EQ(std::count(after.begin(), after.end(), "IFD1 Orientation=Normal"), 1);
  }
  // What is not a valid Orientation reads as "as stored".
  const struct {
    const char* name;
    Ifd ifd0;
  } odd[] = {
      {"none", Ifd().Ascii(0x010F, "Canon")},
      {"value 9", Ifd().Short(0x0112, {9})},
      {"value 0", Ifd().Short(0x0112, {0})},
      {"text instead of a number", Ifd().Ascii(0x0112, "6")},
      {"two values", Ifd().Short(0x0112, {6, 6})},
  };
  for (const auto& c : odd) EXPECT_EQ(ExifOrientation(App1(TiffBuilder(Order::Intel).Bytes(c.ifd0))), 1) << c.name;
  EXPECT_EQ(ExifOrientation("\x00\x10JFIF"), 1) << "not an EXIF block";
}

// The new thumbnail takes the old one's place when that ends the block or
// when it fits there, else it goes behind the block and the old bytes are
// zeroed; IFD1's pointers and sizes and the segment length follow, and every
// other tag reads as before.
TEST(ExifUpright, ThumbnailIsReplacedWhereverTheOldOneLay) {
  const std::string small = Thumbnail(16, 8), large = Thumbnail(160, 120);
  const struct {
    const char* name;
    Layout layout;
    const std::string& oldThumbnail;
    const std::string& newThumbnail;
    bool sameBlockSize;
  } cases[] = {
      {"old one last, new one larger", Layout::Camera, small, large, false},
      {"old one last, new one smaller", Layout::Camera, large, small, false},
      {"old one first, new one fits", Layout::ThumbnailFirst, large, small, true},
      {"old one first, new one larger", Layout::ThumbnailFirst, small, large, false},
  };
  for (Order order : {Order::Intel, Order::Motorola}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(OrderName(order)) + ", " + c.name);
      Ifd ifd1;
      // The resolution's value lies behind the thumbnail when that comes first.
      ifd1.Short(0x0103, {6}).Long(0x0100, {1}).Long(0x0101, {1}).Rational(0x011A, {{72, 1}}).Thumbnail(
          c.oldThumbnail);
      std::string app1 = App1(TiffBuilder(order).WithLayout(c.layout).Bytes(CameraIfd0(1, &ifd1)));
      const std::string original = app1;
      const std::vector<std::string> before = TagTexts(app1);
      ASSERT_TRUE(ExifThumbnail(app1) == c.oldThumbnail);

      const auto [width, height] = c.newThumbnail == large ? std::pair(160, 120) : std::pair(16, 8);
      EXPECT_EQ(ReplaceThumbnail(app1, c.newThumbnail, width, height), ThumbnailEdit::Replaced);
      EXPECT_TRUE(ExifThumbnail(app1) == c.newThumbnail);
      EXPECT_EQ(LengthField(app1), app1.size());
      EXPECT_EQ(app1.size() == original.size(), c.sameBlockSize);
      EXPECT_EQ(app1.find(c.oldThumbnail), std::string::npos) << "the old thumbnail is gone";
      const std::vector<std::string> after = TagTexts(app1);
      EXPECT_EQ(Without(after, "IFD1"), Without(before, "IFD1"));
      EXPECT_NE(std::find(after.begin(), after.end(), "IFD1 ImageWidth=" + std::to_string(width)), after.end());
      EXPECT_NE(std::find(after.begin(), after.end(), "IFD1 ImageLength=" + std::to_string(height)), after.end());
    }
  }
}

// No IFD1: none is added. IFD1 without a JPEG thumbnail, an empty new one, or
// one that would outgrow the 64 KB segment: IFD1 is unlinked, nothing else moves.
TEST(ExifUpright, WhereNoMatchingThumbnailCanBeStoredThereIsNone) {
  Ifd jpegIfd1, stripIfd1;
  jpegIfd1.Short(0x0103, {6}).Thumbnail(Thumbnail(16, 8));
  stripIfd1.Short(0x0103, {1}).Long(0x0111, {8}).Long(0x0117, {0});
  const std::string huge(65500, '\xAB');
  const struct {
    const char* name;
    const Ifd* ifd1;
    std::string newThumbnail;
    ThumbnailEdit result;
  } cases[] = {
      {"no IFD1", nullptr, Thumbnail(16, 8), ThumbnailEdit::NoThumbnailDirectory},
      {"uncompressed thumbnail", &stripIfd1, Thumbnail(16, 8), ThumbnailEdit::Removed},
      {"no new thumbnail", &jpegIfd1, "", ThumbnailEdit::Removed},
      {"new one too large for the segment", &jpegIfd1, huge, ThumbnailEdit::Removed},
  };
  for (Order order : {Order::Intel, Order::Motorola}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(OrderName(order)) + ", " + c.name);
      std::string app1 = App1(TiffBuilder(order).Bytes(CameraIfd0(1, c.ifd1)));
      const std::string original = app1;
      EXPECT_EQ(ReplaceThumbnail(app1, c.newThumbnail, 16, 8), c.result);
      EXPECT_FALSE(HasThumbnailDirectory(app1));
      EXPECT_TRUE(ExifThumbnail(app1).empty());
      EXPECT_EQ(app1.size(), original.size());
      EXPECT_EQ(Without(TagTexts(app1), "IFD1"), Without(TagTexts(original), "IFD1"));
    }
  }
}

// Offsets from a hostile file: nothing is read or written outside the block.
TEST(ExifUpright, BrokenDirectoriesAreLeftAsTheyAre) {
  Ifd badIfd1;
  badIfd1.Short(0x0103, {6}).WithOffset(0x0201, LONG, 1, 0xFFFFFF00).Long(0x0202, {5000});
  const struct {
    const char* name;
    std::string tiff;
  } cases[] = {
      {"IFD0 beyond the block", TiffBuilder(Order::Intel).Ifd0Offset(60000).Bytes(Ifd().Short(0x0112, {6}))},
      {"IFD0 count running past the end", TiffBuilder(Order::Motorola).Bytes(Ifd().Short(0x0112, {6}).ForceCount(900))},
      {"thumbnail offset beyond the block", TiffBuilder(Order::Intel).Bytes(CameraIfd0(6, &badIfd1))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string app1 = App1(c.tiff);
    EXPECT_TRUE(ExifThumbnail(app1).empty());
    SetOrientationNormal(app1);
    const ThumbnailEdit edit = ReplaceThumbnail(app1, Thumbnail(16, 8), 16, 8);
    EXPECT_EQ(LengthField(app1), app1.size());
    if (edit == ThumbnailEdit::Replaced) { EXPECT_TRUE(ExifThumbnail(app1) == Thumbnail(16, 8)); }
  }
}

}  // namespace
}  // namespace lumatrim::test
