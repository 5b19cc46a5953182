// Every maker layout on built bytes: the directory found where the layout puts
// it, values inside the entry and behind it, values past the end of the note
// read from the EXIF segment, and the same photo as JPEG and TIFF agreeing.
#include <gtest/gtest.h>

#include <thread>

#include "MakerRead.h"
#include "core/makernotes/MakerLayout.h"
#include "core/makernotes/MakerTables.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {
namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

// How many bytes the MakerNote entry declares: all, or only up to the values
// stored behind the directory, which then lie past the note in the EXIF segment.
constexpr int kWhole = -1, kCut = -2;

struct Layout {
  const char* name;
  std::string make, model, exifVersion, header;  // header: the note's bytes before its directory
  int offsetsFrom;  // -1: the EXIF block's TIFF header; k: byte k of the note
  Ifd dir;
  Strings expected;  // maker entries as "Desc=Data", in TagList order; Skip rows and unknown tags make none; rows of tag 0 count
  bool ownTiffHeader = false, littleEndian = false;

  // The note for a block order, landing at TIFF offset `at`; `fixed` gets the
  // length of its header and directory, before the values stored behind them.
  std::string Body(Order order, uint32_t at, int* fixed = nullptr) const {
    const Order o = littleEndian ? Order::Intel : order;
    const std::string mark = o == Order::Intel ? "II\x2A\0"s : "MM\0\x2A"s;
    const std::string head = header + (ownTiffHeader ? mark + U32(8, o) : "");
    const auto size = static_cast<uint32_t>(head.size());
    const std::string bytes = dir.Serialize(o, offsetsFrom < 0 ? at + size : size - offsetsFrom);
    const int count = static_cast<uint8_t>(bytes[o == Order::Intel ? 0 : 1]);  // fewer than 256 entries
    if (fixed) *fixed = static_cast<int>(size) + 2 + 12 * count + 4;
    return head + bytes;
  }
  // The photo as a TIFF block: IFD0 (Make, Model), EXIF (ExifVersion when
  // given, MakerNote, ExifImageWidth 640), then the note at the block's end.
  std::string Tiff(Order order, int declared = kWhole) const {
    int fixed = 0;
    const std::string whole = Body(order, 0, &fixed);
    const auto length = static_cast<uint32_t>(declared == kWhole ? whole.size() : declared == kCut ? fixed : declared);
    auto build = [&](uint32_t at) {
      Ifd exif;
      if (!exifVersion.empty()) exif.Undefined(0x9000, exifVersion);
      exif.WithOffset(0x927C, UNDEFINED, length, at).Long(0xA002, {640});
      Ifd ifd0;
      ifd0.Ascii(0x010F, make);
      if (!model.empty()) ifd0.Ascii(0x0110, model);
      return TiffBuilder(order).Bytes(ifd0.SubIfd(0x8769, exif));
    };
    const auto at = static_cast<uint32_t>((build(0).size() + 1) & ~size_t{1});  // the size ignores the offset
    std::string tiff = build(at);
    tiff.resize(at, '\0');
    return tiff + Body(order, at);
  }
  std::string Jpeg(Order order, int declared = kWhole) const {
    return JpegBuilder().Soi().App1Exif(Tiff(order, declared)).Sos().Bytes();
  }
};

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts = {
      // ExifVersion above 0210: the note's own TIFF header at byte 10, directory at 18.
      {"NikonNew", "NIKON CORPORATION", "NIKON D70", "0221", "Nikon\0\x02\x10\0\0"s, 10,
       Ifd().Short(2, {0, 200}).Ascii(4, "FINE ").Short(10, {7})
           .Rational(132, {{180, 10}, {700, 10}, {35, 10}, {45, 10}}).Ascii(141, "MODE2").Short(9999, {1}),
       {"ISO Speed=0, 200", "Quality=\"FINE \"", "Lens information=18.0-70.0(mm)  F3.5-F4.5",
        "Color Mode=Mode 2 (Adobe RGB)"}, true},
      {"NikonOld", "NIKON", "", "0210", "Nikon\0\x01\0"s, -1,
       Ifd().Short(3, {5}).Short(7, {2}).Ascii(8, "AF-S  ").Short(9, {1}).Rational(10, {{0, 100}}),
       {"Quality=SXGA Normal", "WhiteBalance=Daylight", "Focus=\"AF-S  \"", "DigitalZoom=0/100"}},
      {"NikonAtZero", "Nikon", "", "0200", "", -1,
       Ifd().Short(2, {0, 100}).Ascii(4, "FINE ").Ascii(5, "AUTO  ").Ascii(141, "COLOR"),
       {"ISO Speed=0, 100", "Quality=\"FINE \"", "White Balance=\"AUTO  \"", "Color Mode=COLOR"}},
      {"Olympus", "OLYMPUS OPTICAL CO.,LTD", "", "0210", "OLYMP\0\x01\0"s, -1,
       Ifd().Short(513, {2}).Short(515, {1}).Undefined(521, "OLYMPUS DIGITAL CAMERA").Long(4100, {2}).Short(9999, {1}),
       {"JpegQual=HQ", "Camera ID=\"OLYMPUS DIGITAL CAMERA\"", "Flash Mode=2"}},
      {"CasioPlain", "CASIO", "", "0210", "", -1,
       Ifd().Short(2, {3}).Short(7, {1, 2, 3}).Short(8, {1}).Long(10, {65537}).Short(20, {64}),
       {"Quality=Fine", "WhiteBalance=Auto, Tungsten, Daylight", "DigitalZoom=2X Digital Zoom",
        "CCDSensitivity=Normal"}},
      {"CasioQvc", "CASIO COMPUTER CO.,LTD.", "", "0221", "QVC\0\0\0"s, -1,
       Ifd().Short(8, {2}).Long(9, {5}).Undefined(3584, "PrintIM\0"s + "0250").Short(8192, {1}).Short(12289, {1}),
       {"Quality=Super Fine", "ImageSize=2048 x 1536", "\tPrint Image Matching Info=\"PrintIM.0250\"",
        "Self Timer=On"}},
      // Always little-endian, offsets from the note's first byte.
      {"Fujifilm", "FUJIFILM", "FinePix2400Zoom", "0210", "FUJIFILM"s + U32(12, Order::Intel), 0,
       Ifd().Undefined(0, "0130").Ascii(4096, "NORMAL ").Short(4097, {3}).Short(4112, {1}).Short(4146, {0}),
       {"Version=\"0130\"", "Quality=\"NORMAL \"", "Sharpness=Normal", "FlashMode=On"}, false, true},
      // Derived items stand before their parent (ExposureInfo1, ExposureInfo2, CustomFunctions).
      {"Canon", "Canon", "", "0220", "", -1,
       Ifd().Short(0, {1}).Short(1, {0, 2, 0, 4}).Short(4, {0, 0, 0, 0, 0, 0, 0, 1}).Ascii(6, "IMG:PowerShot S40 JPEG")
           .Long(8, {1001234}).Short(15, {32, 257, 768}),
       {"Macro mode=Normal", "Self Timer= 0", "ExposureInfo1=0, 2, 0, 4", "White balance=Sunny",
        "ExposureInfo2=0, 0, 0, 0, 0, 0, 0, 1", "ImageType=\"IMG:PowerShot S40 JPEG\"", "ImageNumber=1001234",
        "Noise Reduction= On", "Mirror Lockup=Disable", "CustomFunctions=32, 257, 768"}},
      {"Seiko", "SEIKO EPSON CORP.", "", "0210", "EPSON\0\x01\0"s, -1,
       Ifd().Short(513, {2}).Short(515, {1}).Ascii(521, "PhotoPC 3000Z").Short(3840, {1}),
       {"JpegQuality=2", "CameraID=\"PhotoPC 3000Z\""}},
      {"Sanyo", "SANYO Electric Co.,Ltd.", "", "0210", "SANYO\0\x01\0"s, -1,
       Ifd().Short(513, {2}).Short(515, {1}).Undefined(3840, "DUMPDATA"), {"JpegQuality=2", "DataDump=\"DUMPDATA\""}},
      {"Minolta", "Minolta Co., Ltd.", "", "0210", "", -1,
       Ifd().Undefined(0, "MLY0").Undefined(3584, "PrintIM\0"s + "0100"), {"ModelID=\"MLY0\"", "PIMdata=\"PrintIM.0100\""}},
  };
  return layouts;
}

TEST(MakerLayouts, everyLayoutFindsItsEntriesInJpegAndTiffAlike) {
  for (const Layout& layout : Layouts())
    for (Order order : {Order::Intel, Order::Motorola})
      for (bool cut : {false, true}) {
        SCOPED_TRACE(layout.name + std::string(order == Order::Intel ? " II" : " MM") + (cut ? " past the note" : ""));
        const int declared = cut ? kCut : kWhole;
        const ReadResult jpeg = ReadPhotoBytes(layout.Jpeg(order, declared), "a.jpg");
        const ReadResult tiff = ReadPhotoBytes(layout.Tiff(order, declared), "a.tif");
        EXPECT_EQ(jpeg.maker, layout.expected);
        EXPECT_EQ(tiff.maker, jpeg.maker);
        EXPECT_EQ(tiff.raws, jpeg.raws) << "TIFF found other bytes than JPEG";
        // The EXIF directory after the note is read in the block's order again.
        EXPECT_EQ(jpeg.exifImageWidth, "640");
        EXPECT_EQ(tiff.exifImageWidth, "640");
      }
}

TEST(MakerLayouts, nefWithoutExifVersionUsesTheModelCharacter) {
  Layout nikon = Layouts()[0];
  nikon.exifVersion = "";
  nikon.model = "NIKON D100";
  EXPECT_EQ(ReadPhotoBytes(nikon.Tiff(Order::Intel), "raw.nef").maker, nikon.expected) << "a D model's NEF: byte 18";
  // The same note in a JPEG goes to the old layout at byte 8 ("II" read as a count).
  const ReadResult jpeg = ReadPhotoBytes(nikon.Jpeg(Order::Intel), "same.jpg");
  EXPECT_FALSE(jpeg.Has("Lens information"));
  EXPECT_EQ(jpeg.exifImageWidth, "640");
  nikon.model = "NIKON E990";  // not a D model
  EXPECT_FALSE(ReadPhotoBytes(nikon.Tiff(Order::Intel), "e990.nef").Has("Lens information"));
}

TEST(MakerLayoutChoice, makeExifVersionModelAndSignature) {
  struct Row { std::string make, model, version, note; bool tiff; const TagDefinition* table; int dirOffset; };
  const TagDefinition *nikon = NikonTable.data(), *old = NikonOldTable.data();
  const std::string oldNote = "Nikon\0\x01\0"s;
  // Rows the layout table above already covers on built bytes are left out.
  const Row rows[] = {
      {"NIKON", "", "0211", "", false, nikon, 18},       {"NIKON", "", "1", "", false, nikon, 18},
      {"NIKON", "E950", "021", oldNote, false, old, 8},  {"nIkOn", "", "0220", "", false, nikon, 18},
      {"NIKON", "E950", "0210", "NIKON\0\x01\0"s, false, nikon, 0},  // "Nikon" in that case exactly
      {"NIKON", "E950", "0210", "xNikon", false, nikon, 0},            // at the first byte only
      // Empty version: the character after the model's first blank decides, in TIFF/NEF files only.
      {"NIKON", "D1X", "", oldNote, true, nikon, 18},        {"NIKON", "NIKON  D70", "", oldNote, true, old, 8},
      {"NIKON", "NIKON d100", "", oldNote, true, old, 8},    {"NIKON", "", "", "", true, nikon, 0},
      {"CASIO", "", "", "xQVC", false, CasioTable.data(), 0},  // "QVC" counts at the first byte only
      {"KONICA MINOLTA", "", "", "", false, nullptr, 0}, {"", "", "", "", false, nullptr, 0},  // no layout
      {"Can", "", "", "", false, nullptr, 0},            {"NIKO", "", "", "", false, nullptr, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.make + "|" + row.model + "|" + row.version + "|" + row.note + (row.tiff ? "|tiff" : ""));
    const MakerNoteFacts facts{row.make, row.model, row.version, row.note, 100, row.tiff};
    const auto layout = ChooseMakerLayout(facts);
    EXPECT_EQ(layout ? layout->Table.data() : nullptr, row.table);
    EXPECT_EQ(layout ? layout->DirOffset : 0, row.dirOffset);
  }
}

// Damaged notes: read only as far as their bytes go, the rest of the photo still read.
TEST(MakerDecoder, aDirectoryRunningPastTheNoteIsReadAsFarAsItGoes) {
  Layout canon = Layouts()[7];
  for (Order order : {Order::Intel, Order::Motorola}) {
    const Ifd twoEntries = Ifd().Long(8, {1001234}).Short(15, {257});
    const struct { const char* name; Ifd dir; int length; Strings expected; } cases[] = {
        {"a count far beyond the entries", Ifd().Long(8, {1001234}).Short(1, {0, 2}).ForceCount(60000), kWhole,
         {"ImageNumber=1001234", "Macro mode=Normal", "ExposureInfo1=0, 2"}},
        {"the note ends a byte before the second entry does", twoEntries, 2 + 12 + 11, {"ImageNumber=1001234"}},
        {"a note of 1 byte", twoEntries, 1, {}},
        {"a note of 0 bytes", twoEntries, 0, {}},
        // Offsets far past the block, and one that wraps below its start.
        {"hostile offsets",
         Ifd().WithOffset(6, ASCII, 40, 0xFFFFFFF0).WithOffset(7, ASCII, 0xFFFFFFFF, 0x7FFFFFFF).Long(8, {5}), kWhole,
         {"ImageType=\"\"", "FirmwareVersion=\"\"", "ImageNumber=5"}},  // bytes outside read as zero
    };
    for (const auto& c : cases) {
      canon.dir = c.dir;
      const ReadResult r = ReadPhotoBytes(canon.Jpeg(order, c.length), "canon.jpg");
      EXPECT_EQ(r.maker, c.expected) << c.name;
      EXPECT_EQ(r.exifImageWidth, "640") << c.name;
    }
  }
}

TEST(MakerDecoder, threePhotosDecodeOnThreeThreadsAtOnce) {
  TempDir dir;
  const struct { int layout; Order order; bool tiff, cut; } photos[] = {
      {0, Order::Motorola, false, false}, {6, Order::Motorola, true, false}, {7, Order::Intel, false, true}};
  std::vector<int> mismatches(3, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    const Layout& layout = Layouts()[photos[t].layout];
    const int declared = photos[t].cut ? kCut : kWhole;
    const std::string path = WriteFile(dir.File(layout.name + std::string(photos[t].tiff ? ".tif" : ".jpg")),
                                       photos[t].tiff ? layout.Tiff(photos[t].order, declared)
                                                      : layout.Jpeg(photos[t].order, declared));
    threads.emplace_back([&mismatches, &layout, path, t] {
      for (int i = 0; i < 40; ++i) mismatches[t] += ReadPhotoFile(path).maker != layout.expected;
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(3, 0));
}

}  // namespace
}  // namespace lumatrim::test
