// Leaving the GPS directory out of an EXIF block: the pointer goes, the GPS
// bytes become zeros, everything else stays where it was.
#include <gtest/gtest.h>

#include "core/exif/GpsRemoval.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoEdits.h"
#include "support/ExifTool.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {
namespace {

const std::string kLatitudeRef = "N";
constexpr uint32_t kSeconds = 987654;  // bytes no other value of the block has

// IFD0 with Make, Exif and GPS directories and a maker note whose inner
// offset counts from the TIFF header, then IFD1 with a thumbnail-sized blob.
std::string BlockWithGps(Order order, bool gpsFirst) {
  Ifd gps;
  gps.Bytes(0x0000, {2, 3, 0, 0}).Ascii(0x0001, kLatitudeRef).Rational(0x0002, {{50, 1}, {5, 1}, {kSeconds, 10000}});
  Ifd exif;
  exif.Rational(0x829A, {{1, 125}}).Long(0xA002, {640}).Long(0xA003, {480});
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Thumbnail(std::string("\xFF\xD8\xFF\xDB", 4) + std::string(300, 't') + "\xFF\xD9");
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon");
  if (gpsFirst) ifd0.SubIfd(0x8825, gps);
  ifd0.Ascii(0x0110, "Canon EOS 5D").SubIfd(0x8769, exif);
  if (!gpsFirst) ifd0.SubIfd(0x8825, gps);
  ifd0.Next(ifd1);
  return TiffBuilder(order).WithLayout(Layout::Camera).Bytes(ifd0);
}

std::string PhotoWith(const std::string& tiff) {
  return JpegBuilder().Soi().App1Exif(tiff).Com("keep me").Bytes() + "\xFF\xD9";
}

TEST(GpsRemoval, TheDirectoryGoesAndEveryOtherTagStays) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    for (bool gpsFirst : {true, false}) {
      SCOPED_TRACE(std::string(order == Order::Intel ? "II" : "MM") + (gpsFirst ? ", GPS before Model" : ", GPS last"));
      const std::string tiff = BlockWithGps(order, gpsFirst);
      const std::string stripped = TiffWithoutGps(tiff);
      ASSERT_EQ(stripped.size(), tiff.size()) << "nothing moves";
      EXPECT_NE(tiff.find(U32(kSeconds, order)), std::string::npos);
      EXPECT_EQ(stripped.find(U32(kSeconds, order)), std::string::npos) << "the position's bytes are wiped";

      TempDir dir;
      const std::string path = WriteFile(dir.File("p.jpg"), PhotoWith(stripped));
      const PhotoMetadata data = ReadPhotoMetadata(path);
      ASSERT_TRUE(data.MetadataPresent() && data.exif);
      EXPECT_EQ(data.exif->TagValueByName("Model"), "Canon EOS 5D");
      EXPECT_EQ(data.exif->GetTagInt("ExifImageWidth"), 640);
      EXPECT_TRUE(data.exif->TagValueByName("GPSLatitudeRef").empty());
      EXPECT_TRUE(data.ThumbnailPresent()) << "IFD1 is still linked";

      PhotoMetadata original = ReadPhotoMetadata(WriteFile(dir.File("o.jpg"), PhotoWith(tiff)));
      EXPECT_TRUE(DropGps(original));
      EXPECT_FALSE(DropGps(original)) << "nothing left to drop";
      EXPECT_TRUE(original.exif->TagValueByName("GPSLatitudeRef").empty()) << "the container was read again";

      if (!HaveTool("exiftool -ver")) continue;
      const std::string before = dir.File("o.jpg"), after = path;
      std::set<std::string> expected;
      for (const std::string& line : ExifLines(before)) {
        if (line.rfind("[GPS]", 0) != 0) expected.insert(line);
      }
      EXPECT_NE(expected.size(), ExifLines(before).size()) << "the source had GPS tags";
      EXPECT_EQ(ExifLines(after), expected);
      const std::set<std::string> warned = ValidationWarnings(before);
      for (const std::string& warning : ValidationWarnings(after)) {
        if (warning.rfind("Validate ", 0) != 0) { EXPECT_TRUE(warned.count(warning)) << "new warning: " << warning; }
      }
      if (HaveTool("exiv2 --version")) { EXPECT_EQ(Exiv2Complaints(after), ""); }
    }
  }
}

// Blocks that are not what they claim come back unchanged or without GPS, and
// a GPS directory sharing bytes with IFD0 leaves IFD0 readable.
TEST(GpsRemoval, OddBlocksAreSafe) {
  EXPECT_EQ(TiffWithoutGps(""), "");
  EXPECT_EQ(TiffWithoutGps(std::string("II*\0", 4)), std::string("II*\0", 4));
  const std::string noGps = TiffBuilder(Order::Intel).Bytes(Ifd().Ascii(0x010F, "Nikon"));
  EXPECT_EQ(TiffWithoutGps(noGps), noGps);
  for (uint32_t offset : {8u, 0xFFFFFFF0u, 3u}) {
    SCOPED_TRACE(offset);
    Ifd ifd0;
    ifd0.Ascii(0x010F, "Nikon").WithOffset(0x8825, 4, 1, offset);
    const std::string tiff = TiffBuilder(Order::Motorola).Bytes(ifd0);
    const std::string stripped = TiffWithoutGps(tiff);
    TempDir dir;
    const PhotoMetadata data = ReadPhotoMetadata(WriteFile(dir.File("p.jpg"), PhotoWith(stripped)));
    ASSERT_TRUE(data.MetadataPresent());
    EXPECT_EQ(data.exif->TagValueByName("Make"), "Nikon");
    EXPECT_EQ(stripped.find(std::string("\x88\x25", 2)), std::string::npos) << "the pointer is gone";
  }
}

}  // namespace
}  // namespace lumatrim::test
