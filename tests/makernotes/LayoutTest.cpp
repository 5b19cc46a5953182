// Every maker layout on built bytes: the directory found at its offset, values
// inside the entry and behind it, values past the end of the maker note read
// from the EXIF segment, and the same photo as JPEG and as TIFF agreeing.
// Rows of tag 0 (Fujifilm "Version", Minolta "ModelID") are never stored:
// the tag list refuses tag 0, the mark of the "Unknown" row.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "MakerPhoto.h"

namespace lumatrim::test {
namespace {

using namespace std::string_literals;

struct LayoutCase {
  const char* name;
  std::string make, model, exifVersion;
  // The maker note for a block order, given where it lands; and how many
  // bytes of it come before the directory's out-of-entry values.
  std::function<std::string(Order, uint32_t makerOffset)> body;
  std::function<int(Order)> fixedPart;
  std::vector<std::pair<std::string, std::string>> expected;  // display name -> value text
  std::vector<std::string> absent;
};

std::string TiffHeaderMark(Order order) {
  return (order == Order::Motorola ? "MM\0\x2A"s : "II\x2A\0"s) + U32(8, order);
}

// A note whose offsets count from the EXIF block's TIFF header.
LayoutCase FromTiffHeader(const char* name, std::string make, std::string exifVersion, std::string header,
                          std::function<Ifd()> dir, int entries,
                          std::vector<std::pair<std::string, std::string>> expected,
                          std::vector<std::string> absent) {
  const int fixed = static_cast<int>(header.size()) + 2 + 12 * entries + 4;
  return {name,
          std::move(make),
          "",
          std::move(exifVersion),
          [header, dir](Order order, uint32_t at) {
            return header + dir().Serialize(order, at + static_cast<uint32_t>(header.size()));
          },
          [fixed](Order) { return fixed; },
          std::move(expected),
          std::move(absent)};
}

Ifd NikonNewDir() {
  Ifd d;
  d.Short(2, {0, 200})
      .Ascii(4, "FINE ")
      .Short(10, {7})
      .Rational(132, {{180, 10}, {700, 10}, {35, 10}, {45, 10}})
      .Ascii(141, "MODE2")
      .Short(9999, {1});
  return d;
}

std::vector<LayoutCase> Cases() {
  std::vector<LayoutCase> cases;

  // ExifVersion above 0210: the note's own TIFF header at byte 10, directory at 18.
  cases.push_back({"NikonNew", "NIKON CORPORATION", "NIKON D70", "0221",
                   [](Order order, uint32_t) {
                     return "Nikon\0\x02\x10\0\0"s + TiffHeaderMark(order) + NikonNewDir().Serialize(order, 8);
                   },
                   [](Order) { return 18 + 2 + 12 * 6 + 4; },
                   {{"ISO Speed", "0, 200"},
                    {"Quality", "\"FINE \""},
                    {"Lens information", "18.0-70.0(mm)  F3.5-F4.5"},
                    {"Color Mode", "Mode 2 (Adobe RGB)"}},
                   {"Skip", "Unknown"}});

  cases.push_back(FromTiffHeader(
      "NikonOld", "NIKON", "0210", "Nikon\0\x01\0"s,
      [] {
        Ifd d;
        d.Short(3, {5}).Short(7, {2}).Ascii(8, "AF-S  ").Short(9, {1}).Rational(10, {{0, 100}});
        return d;
      },
      5, {{"Quality", "SXGA Normal"}, {"WhiteBalance", "Daylight"}, {"Focus", "\"AF-S  \""}, {"DigitalZoom", "0/100"}},
      {"Skip"}));

  cases.push_back(FromTiffHeader(
      "NikonAtZero", "Nikon", "0200", "",
      [] {
        Ifd d;
        d.Short(2, {0, 100}).Ascii(4, "FINE ").Ascii(5, "AUTO  ").Ascii(141, "COLOR");
        return d;
      },
      4, {{"ISO Speed", "0, 100"}, {"Quality", "\"FINE \""}, {"White Balance", "\"AUTO  \""}, {"Color Mode", "COLOR"}},
      {}));

  cases.push_back(FromTiffHeader(
      "Olympus", "OLYMPUS OPTICAL CO.,LTD", "0210", "OLYMP\0\x01\0"s,
      [] {
        Ifd d;
        d.Short(513, {2}).Short(515, {1}).Undefined(521, "OLYMPUS DIGITAL CAMERA").Long(4100, {2}).Short(9999, {1});
        return d;
      },
      5, {{"JpegQual", "HQ"}, {"Camera ID", "\"OLYMPUS DIGITAL CAMERA\""}, {"Flash Mode", "2"}},
      {"Skip", "Unknown"}));

  cases.push_back(FromTiffHeader(
      "CasioPlain", "CASIO", "0210", "",
      [] {
        Ifd d;
        d.Short(2, {3}).Short(7, {1, 2, 3}).Short(8, {1}).Long(10, {65537}).Short(20, {64});
        return d;
      },
      5,
      {{"Quality", "Fine"},
       {"WhiteBalance", "Auto, Tungsten, Daylight"},
       {"DigitalZoom", "2X Digital Zoom"},
       {"CCDSensitivity", "Normal"}},
      {"Skip"}));

  cases.push_back(FromTiffHeader(
      "CasioQvc", "CASIO COMPUTER CO.,LTD.", "0221", "QVC\0\0\0"s,
      [] {
        Ifd d;
        d.Short(8, {2}).Long(9, {5}).Undefined(3584, "PrintIM\0"s + "0250").Short(8192, {1}).Short(12289, {1});
        return d;
      },
      5,
      {{"Quality", "Super Fine"},
       {"ImageSize", "2048 x 1536"},
       {"\tPrint Image Matching Info", "\"PrintIM.0250\""},
       {"Self Timer", "On"}},
      {"Skip"}));

  // Always little-endian, offsets counted from the note's first byte.
  cases.push_back({"Fujifilm", "FUJIFILM", "FinePix2400Zoom", "0210",
                   [](Order, uint32_t) {
                     Ifd d;
                     d.Undefined(0, "0130").Ascii(4096, "NORMAL ").Short(4097, {3}).Short(4112, {1}).Short(4146, {0});
                     return "FUJIFILM"s + U32(12, Order::Intel) + d.Serialize(Order::Intel, 12);
                   },
                   [](Order) { return 12 + 2 + 12 * 5 + 4; },
                   {{"Quality", "\"NORMAL \""}, {"Sharpness", "Normal"}, {"FlashMode", "On"}},
                   {"Skip", "Version"}});

  cases.push_back(FromTiffHeader(
      "Canon", "Canon", "0220", "",
      [] {
        Ifd d;
        d.Short(0, {1})
            .Short(1, {0, 2, 0, 4})
            .Ascii(6, "IMG:PowerShot S40 JPEG")
            .Long(8, {1001234})
            .Short(15, {32, 257, 768});
        return d;
      },
      5,
      {{"Macro mode", "Normal"},
       {"Self Timer", " 0"},
       {"ExposureInfo1", "0, 2, 0, 4"},
       {"ImageType", "\"IMG:PowerShot S40 JPEG\""},
       {"ImageNumber", "1001234"},
       {"Noise Reduction", " On"},
       {"Mirror Lockup", "Disable"},
       {"CustomFunctions", "32, 257, 768"}},
      {"Skip"}));

  cases.push_back(FromTiffHeader(
      "Seiko", "SEIKO EPSON CORP.", "0210", "EPSON\0\x01\0"s,
      [] {
        Ifd d;
        d.Short(513, {2}).Short(515, {1}).Ascii(521, "PhotoPC 3000Z").Short(3840, {1});
        return d;
      },
      4, {{"JpegQuality", "2"}, {"CameraID", "\"PhotoPC 3000Z\""}}, {"Skip", "skip"}));

  cases.push_back(FromTiffHeader(
      "Sanyo", "SANYO Electric Co.,Ltd.", "0210", "SANYO\0\x01\0"s,
      [] {
        Ifd d;
        d.Short(513, {2}).Short(515, {1}).Undefined(3840, "DUMPDATA");
        return d;
      },
      3, {{"JpegQuality", "2"}, {"DataDump", "\"DUMPDATA\""}}, {"Skip"}));

  cases.push_back(FromTiffHeader(
      "Minolta", "Minolta Co., Ltd.", "0210", "",
      [] {
        Ifd d;
        d.Undefined(0, "MLY0").Undefined(3584, "PrintIM\0"s + "0100");
        return d;
      },
      2, {{"PIMdata", "\"PrintIM.0100\""}}, {"ModelID"}));
  return cases;
}

MakerPhoto PhotoOf(const LayoutCase& c, Order order, bool cut) {
  MakerPhoto photo;
  photo.order = order;
  photo.make = c.make;
  photo.model = c.model;
  photo.exifVersion = c.exifVersion;
  photo.body = [body = c.body, order](uint32_t at) { return body(order, at); };
  // Cut: the note ends behind its directory, every out-of-entry value lies
  // past its end in the EXIF segment.
  if (cut) photo.declaredLength = c.fixedPart(order);
  return photo;
}

const char* OrderName(Order order) { return order == Order::Intel ? "II" : "MM"; }

TEST(MakerLayouts, EveryLayoutFindsItsEntriesInJpegAndTiffAlike) {
  for (const LayoutCase& c : Cases()) {
    for (Order order : {Order::Intel, Order::Motorola}) {
      for (bool cut : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + " " + OrderName(order) + (cut ? " values past the note" : ""));
        const MakerPhoto photo = PhotoOf(c, order, cut);
        const ReadResult jpeg = ReadPhotoBytes(photo.Jpeg(), "photo.jpg");
        const ReadResult tiff = ReadPhotoBytes(photo.Tiff(), "photo.tif");
        ASSERT_TRUE(jpeg.read);
        ASSERT_TRUE(tiff.read);
        for (const auto& [desc, data] : c.expected) EXPECT_EQ(jpeg.Data(desc), data) << desc;
        for (const std::string& desc : c.absent) EXPECT_FALSE(jpeg.Has(desc)) << desc;
        EXPECT_EQ(jpeg.maker, tiff.maker) << "TIFF found other values than JPEG";
        // The directory after the note is read in the block's order again.
        EXPECT_EQ(jpeg.exifImageWidth, "640");
        EXPECT_EQ(tiff.exifImageWidth, "640");
        EXPECT_EQ(jpeg.fNumber, "F2.8");
      }
    }
  }
}

TEST(MakerLayouts, FujifilmInsideBigEndianBlockIsReadLittleEndian) {
  const LayoutCase fuji = Cases()[6];
  ASSERT_STREQ(fuji.name, "Fujifilm");
  const ReadResult r = ReadPhotoBytes(PhotoOf(fuji, Order::Motorola, false).Jpeg(), "fuji.jpg");
  EXPECT_EQ(r.Data("Sharpness"), "Normal");
  EXPECT_EQ(r.exifImageWidth, "640");  // big-endian again after the note
  EXPECT_EQ(r.fNumber, "F2.8");
}

TEST(MakerLayouts, NikonNewNoteWinsOverItsNikonSignatureWhenExifVersionIsAbove0210) {
  MakerPhoto photo = PhotoOf(Cases()[0], Order::Motorola, false);
  photo.make = "Nikon";  // mixed case is recognised
  const ReadResult r = ReadPhotoBytes(photo.Jpeg(), "d70.jpg");
  EXPECT_EQ(r.Data("Lens information"), "18.0-70.0(mm)  F3.5-F4.5");
}

TEST(MakerLayouts, NefWithoutExifVersionUsesTheModelCharacter) {
  MakerPhoto photo = PhotoOf(Cases()[0], Order::Intel, false);
  photo.exifVersion = "";
  photo.model = "NIKON D100";

  SCOPED_TRACE("a .nef file of a D model: directory at byte 18");
  const ReadResult nef = ReadPhotoBytes(photo.Tiff(), "raw.nef");
  EXPECT_EQ(nef.Data("Lens information"), "18.0-70.0(mm)  F3.5-F4.5");
  EXPECT_EQ(nef.Data("Color Mode"), "Mode 2 (Adobe RGB)");

  // The same note in a JPEG goes to the old layout at byte 8 ("MM"/"II" read
  // as a count): none of the new table's entries, and nothing read astray.
  const ReadResult jpeg = ReadPhotoBytes(photo.Jpeg(), "same.jpg");
  EXPECT_TRUE(jpeg.read);
  EXPECT_FALSE(jpeg.Has("Lens information"));
  EXPECT_EQ(jpeg.exifImageWidth, "640");

  photo.model = "NIKON E990";  // not a D model: old or bare layout even in a NEF
  EXPECT_FALSE(ReadPhotoBytes(photo.Tiff(), "e990.nef").Has("Lens information"));
}

TEST(MakerLayouts, QvcCountsOnlyAtTheFirstByte) {
  LayoutCase casio = Cases()[4];  // plain note
  const auto plain = casio.body;
  // "QVC" later in the bytes: still the plain table at byte 0.
  casio.body = [plain](Order order, uint32_t at) { return plain(order, at) + "QVC"; };
  const ReadResult r = ReadPhotoBytes(PhotoOf(casio, Order::Motorola, false).Jpeg(), "casio.jpg");
  EXPECT_EQ(r.Data("Quality"), "Fine");
}

TEST(MakerLayouts, UnsupportedOrMissingMakeDecodesNothing) {
  for (const char* make : {"KONICA MINOLTA", "", "NIKO"}) {
    SCOPED_TRACE(make);
    MakerPhoto photo = PhotoOf(Cases()[10], Order::Intel, false);  // a Minolta note
    photo.make = make;
    const ReadResult r = ReadPhotoBytes(photo.Jpeg(), "photo.jpg");
    EXPECT_TRUE(r.maker.empty());
    EXPECT_EQ(r.exifImageWidth, "640");
  }
}

}  // namespace
}  // namespace lumatrim::test
