// Reading photo files: the JPEG segment scan, TIFF files, thumbnails, damaged
// and cut input, two threads at once.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "exif/ExifTestKit.h"
#include "core/exif/TagTables.h"
#include "support/ByteOrders.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

Ifd SmallIfd0(const char* make = "Canon", uint32_t exposure = 250) {
  return Ifd().Ascii(0x010F, make).SubIfd(0x8769, Ifd().Rational(0x829A, {{1, exposure}}));
}

const std::string kTiff = TiffBuilder(Order::Intel).Bytes(SmallIfd0());

ReadOptions PointOptions() {
  ReadOptions options;
  options.decimalSeparator = '.';
  return options;
}

std::pair<bool, std::unique_ptr<PhotoMetadata>> Read(const TempDir& dir, const std::string& name, const std::string& bytes) {
  auto data = std::make_unique<PhotoMetadata>(ReadPhotoMetadata(WriteFile(dir.File(name), bytes), PointOptions()));
  const bool ok = data->MetadataPresent();
  return {ok, std::move(data)};
}

// What the windows ask of a read photo.
void ExerciseRead(PhotoMetadata& data) {
  if (!data.exif) return;
  data.exif->ParseThumbnailDirectory();
  (void)data.CutThumbnail();
  for (const char* name : {"Make", "ExposureTime", "GPSVersionID"}) (void)data.exif->GetTagNumber(name);
}

}  // namespace

TEST(ReadPhoto, outcomesByFileKind) {
  TempDir dir;
  const std::string camera = JpegBuilder().Soi().App1Exif(kTiff).Dqt().Sos().Bytes();
  const std::string jfif = JpegBuilder().Soi().App0Jfif().Dqt().Segment(0xC0, "sof").Sos().Bytes();
  // The bytes decide the kind; the name only for bytes that announce none.
  const struct { const char* name; std::string bytes; bool ok; } cases[] = {
      {"IMG_0001.JPG", camera, true}, {"a.jpeg", camera, true},       {"a.Jpe", camera, true},
      {"photo", camera, true},        {"photo.png", camera, true},    {"jpg", camera, true},
      {"jpeg.nef", camera, true},     {"jpeg.TIF", camera, true},     {"tiff.jpg", kTiff, true},
      {"tiff.png", kTiff, true},      {"tiff", kTiff, true},          {"fake.jpg", "GIF89a", false},
      {"fake.tif", "GIF89a", false},  {"fake.png", "GIF89a", false},  {"jfif.jpg", jfif, false},
      {"jfif.nef", jfif, false}};
  for (const auto& c : cases) {
    auto [ok, data] = Read(dir, c.name, c.bytes);
    EXPECT_EQ(ok, c.ok) << c.name;
    EXPECT_EQ(data->outcome.Text(), ok ? "<none>" : "Not an EXIF file") << c.name;
    if (!ok) continue;
    EXPECT_EQ(data->filePath, dir.File(c.name));
    EXPECT_EQ(data->exif->TagValueByName("ExposureTime"), "1/250 sec");
    EXPECT_EQ(data->exif->IsTiffFile, c.bytes == kTiff) << c.name;
    if (c.bytes == camera) { EXPECT_EQ(data->exif->Block, data->Segment(data->exifSegment)->content); }
  }
  EXPECT_FALSE(Read(dir, "short.tiff", "II*").first);
  PhotoMetadata data;
  const auto read = [&data](const std::string& path) {
    data = ReadPhotoMetadata(path);
    return data.MetadataPresent();
  };
  EXPECT_FALSE(read(dir.File("missing.jpg")) || read("") || read(dir.Path()));
  EXPECT_EQ(data.outcome.Text() + data.filePath, "") << "no file, or a folder";
  const std::string pipe = dir.File("pipe.jpg");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(read(pipe)) << "a pipe named like a photo is not waited on";
  EXPECT_EQ(data.outcome.Text(), "Illegal Exif construction");
}

TEST(ReadPhoto, theSameContainerForgetsThePreviousPhoto) {
  TempDir dir;
  const std::string first = JpegBuilder().Soi().App1Exif(kTiff).App13("x").Sos().Bytes();
  PhotoMetadata data = ReadPhotoMetadata(WriteFile(dir.File("a.jpg"), first));
  ASSERT_TRUE(data.MetadataPresent());
  EXPECT_TRUE(data.iptc);
  data = ReadPhotoMetadata(WriteFile(dir.File("b.jpg"), JpegBuilder().Soi().Com("only").Sos().Bytes()));
  ASSERT_TRUE(data.MetadataPresent());
  EXPECT_FALSE(data.ExifPresent() || data.IptcPresent() || data.exif || data.iptc);
  EXPECT_EQ(data.Segment(data.commentSegment)->content, std::string("\x00\x06only", 6));
}

TEST(ReadJpegMetadata, whichSegmentsAreKeptAndWhereTheScanEnds) {
  JpegBuilder many;
  many.Soi().Com("c");
  for (int i = 0; i < 30; ++i) many.Dqt();
  auto jpeg = [] { return JpegBuilder().Soi(); };
  constexpr int kNone = PhotoMetadata::kNoSegment;
  const struct { const char* name; std::string jpeg; bool found; int exif, comment, iptc, count; } cases[] = {
      {"EXIF fifth after four plain segments is given up",
       jpeg().App0Jfif().Dqt().Dqt().Segment(0xC4, "h").App1Exif(kTiff).Sos().Bytes(), false, kNone, kNone, kNone, 5},
      {"COM first, EXIF fifth", jpeg().Com("c").Dqt().Dqt().Dqt().App1Exif(kTiff).Sos().Bytes(), true, 4, 0, kNone, 6},
      {"EXIF sixth is dropped", jpeg().Com("c").Dqt().Dqt().Dqt().Dqt().App1Exif(kTiff).Sos().Bytes(), true, kNone, 0,
       kNone, 6},
      {"a second APP1 is dropped and not kept",
       jpeg().App1Exif(kTiff).Segment(0xE1, "http://ns.adobe.com/xap/1.0/").Com("c").Sos().Bytes(), true, 0, 1, kNone, 3},
      {"two COM: the second counts; two APP13: the first",
       jpeg().Com("1").App13("first").Com("2").App13("second").Sos().Bytes(), true, kNone, 2, 1, 5},
      {"at most 20 segments are kept", many.Com("late").Sos().Bytes(), true, kNone, 0, kNone, 20},
      {"fill bytes before a marker", jpeg().Append("\xFF\xFF\xFF").Com("x").Sos().Bytes(), true, kNone, 0, kNone, 2},
      {"end of file in fill bytes", jpeg().Append("\xFF\xFF").Bytes(), false, kNone, kNone, kNone, 0},
      {"end of file inside a segment: it is not examined",
       jpeg().Com("c").Append("\xFF\xE1\x40\x00Exif").Bytes(), true, kNone, 0, kNone, 2},
      {"length 0", jpeg().SegmentWithLength(0xFE, 0, "").Com("after").Sos().Bytes(), true, kNone, 1, kNone, 3},
      {"length 1", jpeg().SegmentWithLength(0xFE, 1, "").Com("after").Sos().Bytes(), true, kNone, 1, kNone, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool found = !c.found;
    auto data = ScanBytes(c.jpeg, &found);
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(std::tuple(data->exifSegment, data->commentSegment, data->iptcSegment),
              std::tuple(c.exif, c.comment, c.iptc));
    if (c.found) { EXPECT_EQ(data->segments.size(), static_cast<size_t>(c.count)); }
    if (c.iptc != kNone) { EXPECT_EQ(data->Segment(data->iptcSegment)->content.substr(2), "first"); }
  }
  for (auto [segment, error] : {std::pair{std::string("Exig\0\0II*\0\x08\0\0\0", 14), "Incorrect Exif header"},
                                {std::string("Exif\0\0XX*\0\x08\0\0\0", 14), "Invalid Exif alignment marker"},
                                {std::string("E"), "Incorrect Exif header"}}) {
    auto data = ScanBytes(jpeg().Segment(0xE1, segment).Sos().Bytes());
    EXPECT_EQ(data->outcome.Text(), error);
    EXPECT_EQ(data->exif->TagCount(), 0);
  }
}

TEST(ParseExifSegment, aBrokenIfd0EntryDoesNotLoseTheLaterSegments) {
  // Flash with two values cannot be rendered; the walk of IFD0 ends there.
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Short(0x9209, {16, 0}).Ascii(0x0110, "lost");
  const std::string tiff = TiffBuilder(Order::Intel).Bytes(ifd0);
  auto data = ScanBytes(JpegBuilder().Soi().App1Exif(tiff).App13("i").Com("c").Sos().Bytes());
  EXPECT_EQ(data->outcome.Text(), "Error Detected = '16, 0' is not a valid integer value");
  EXPECT_TRUE(data->IptcPresent());
  EXPECT_EQ(data->commentSegment, 2);
  EXPECT_EQ(data->exif->TagValueByName("Make"), "Canon");
  EXPECT_EQ(data->exif->TagIndexByName("Model"), -1);
  // An IFD0 offset of 0 in the header means position 17.
  const std::string zero = TiffBuilder(Order::Motorola).Ifd0Offset(0).Bytes(SmallIfd0());
  EXPECT_EQ(ScanBytes(JpegBuilder().Soi().App1Exif(zero).Sos().Bytes())->exif->TagValueByName("Make"), "Canon");
}

TEST(ReadPhoto, tiffFiles) {
  TempDir dir;
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(OrderName(order));
    // IFD0 where the header says, behind some image bytes.
    // Its XMP packet in tag 700, as writers store it.
    const std::string xmp = R"(<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"><rdf:Description )"
                            R"(xmlns:xmp="http://ns.adobe.com/xap/1.0/" xmp:Rating="4"/></rdf:RDF>)";
    const Ifd ifd0 = SmallIfd0().Raw(0x02BC, 1, xmp.size(), xmp);
    const std::string tiff = TiffBuilder(order).Ifd0Offset(64).Bytes(Ifd(ifd0).Next(Ifd().Short(0x0103, {6})));
    auto [ok, data] = Read(dir, "scan.tif", tiff);
    EXPECT_TRUE(ok);
    ASSERT_TRUE(data->xmp);
    EXPECT_EQ(data->xmp->Properties().at(0).value, "4");
    EXPECT_TRUE(data->exif->IsTiffFile);
    EXPECT_EQ(data->exif->Ifd1Offset, 0) << "not recorded for TIFF files";
    EXPECT_EQ(data->exif->TagValueByName("ExposureTime"), "1/250 sec");
    EXPECT_EQ(data->Segment(0)->content.size(), tiff.size() - 8) << "a short file gives a short block";
  }
  std::string far = kTiff;
  far.replace(4, 4, U32(0x7FFFFFF0, Order::Intel));
  const auto farRead = Read(dir, "far.tif", far).second;
  EXPECT_EQ(farRead->exif->TagValueByName("Make"), "Canon") << "a header offset past the block falls back to offset 8";
  EXPECT_FALSE(farRead->xmp) << "no tag 700, no XMP";
}

// Directories anywhere in a TIFF file are walked; only the first block and the
// bytes the directories use are read, however large the file.
TEST(ReadPhoto, aTiffIsWalkedWholeWithoutBeingHeldWhole) {
  TempDir dir;
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(OrderName(order));
    Ifd exif;
    exif.Rational(0x829A, {{1, 250}}).Rational(0x829D, {{56, 10}}).Ascii(0x9003, "2004:01:02 03:04:05");
    Ifd ifd0;
    ifd0.Ascii(0x010F, "NIKON CORPORATION").Ascii(0x0110, "NIKON D1X").Long(0x0111, {8}).SubIfd(0x8769, exif);
    ifd0.SubIfd(0x8825, Ifd().Bytes(0x00, {2, 2, 0, 0}));
    const struct { const char* name; uint32_t ifd0Offset; } cases[] = {
        {"beyond the kept block", 300000}, {"three gigabytes in, in a sparse file", 0xC0000000u}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      const std::string path = dir.File("far.nef");
      const std::string body = ifd0.Serialize(order, c.ifd0Offset);
      WriteFile(path, TiffBuilder(order).Ifd0Offset(c.ifd0Offset).Bytes(Ifd()).substr(0, 8));
      std::filesystem::resize_file(path, c.ifd0Offset);
      std::ofstream(path, std::ios::binary | std::ios::app) << body;
      const PhotoMetadata data = ReadPhotoMetadata(path, PointOptions());
      ASSERT_TRUE(data.MetadataPresent());
      const ExifData& info = *data.exif;
      EXPECT_EQ(info.CameraMake + "|" + info.CameraModel, "NIKON CORPORATION|NIKON D1X");
      EXPECT_EQ(info.TagValueByName("ExposureTime") + "|" + info.TagValueByName("FNumber"), "1/250 sec|F5.6");
      EXPECT_EQ(info.TagValueByName("DateTimeOriginal"), "2004:01:02 03:04:05");
      EXPECT_EQ(info.TagValueByName("GPSVersionID"), "2, 2, 0, 0");
      EXPECT_EQ(data.Segment(0)->content.size(), static_cast<size_t>(ReadOptions().tiffBlockSize))
          << "the block kept stays this size";
      EXPECT_FALSE(info.Source) << "the file is let go once its directories are read";
    }
  }
}

TEST(Thumbnail, needsAnIfd1EnoughRoomAStartAndAnEnd) {
  const std::string body(300, 'b'), dqt = "\xFF\xD8\xFF\xDB" + body + "\xFF\xD9";
  const struct { std::string thumb, cut; } cases[] = {
      {dqt + " trailing", dqt}, {"\xFF\xD8\xFF\xC4" + body + "\xFF\xD9", "\xFF\xD8\xFF\xC4" + body + "\xFF\xD9"},
      {"\xFF\xD8\xFF\xE0" + body + "\xFF\xD9", ""},                 // a start followed by APP0 is not found
      {"\xFF\xD8\xFF\xDB" + body, ""},                              // no end marker
      {"\xFF\xD8\xFF\xDB" + std::string(10, 't') + "\xFF\xD9", ""}};  // 256 bytes or less: no room
  for (Order order : {Order::Intel, Order::Motorola})
    for (const auto& c : cases) {
      auto data = ScanBytes(CameraJpeg(order, SmallIfd0().Next(Ifd().Short(0x0103, {6}).Thumbnail(c.thumb))));
      EXPECT_EQ(data->CutThumbnail(), c.cut) << c.thumb.size();
      EXPECT_EQ(data->ThumbnailPresent(), c.thumb.size() > 256);
    }
}

TEST(ReadPhoto, everyPrefixOfAPhotoIsSafe) {
  Ifd exif;
  exif.Rational(0x829A, {{1, 250}}).Undefined(0x927C, "maker note").Undefined(0x9286, std::string(20, 'u'));
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").SubIfd(0x8769, exif).SubIfd(0x8825, Ifd().Rational(0x02, {{50, 1}, {5, 1}, {7, 1}}));
  ifd0.Next(Ifd().Short(0x0103, {6}).Thumbnail("\xFF\xD8\xFF\xDB" + std::string(300, 't') + "\xFF\xD9"));
  for (Order order : {Order::Intel, Order::Motorola}) {
    const std::string tiff = TiffBuilder(order).Bytes(ifd0);
    const std::string full = JpegBuilder().Soi().App1Exif(tiff).Com("c").App13("i").Sos().Bytes();
    for (size_t n = 0; n <= full.size(); ++n) {
      auto data = ScanBytes(full.substr(0, n));
      if (data->exif) data->exif->ParseThumbnailDirectory(), data->CutThumbnail();
    }
    // The TIFF file cut anywhere, with only a few bytes kept and the rest read on demand.
    const std::string file = TiffBuilder(order).Ifd0Offset(40).Bytes(ifd0);
    for (size_t n = 0; n <= file.size(); ++n) {
      ReadOptions options;
      options.tiffBlockSize = static_cast<int>(n % 23);
      PhotoMetadata data = ReadTiffMetadata(std::make_shared<MemoryBytes>(file.substr(0, n)), options);
      if (data.MetadataPresent()) ExerciseRead(data);
    }
    // The TIFF block cut anywhere and walked as it is.
    for (size_t n = 0; n <= tiff.size(); ++n) {
      ExifData info;
      info.Order = CoreOrder(order);
      info.Block = tiff.substr(std::min<size_t>(8, n), n > 8 ? n - 8 : 0);
      info.ParseDirectory(0, ExifData::kTiffFileOrigin, DirectoryKind::Main, static_cast<int64_t>(info.Block.size()));
    }
  }
}

TEST(ReadPhoto, twoPhotosOnTwoThreads) {
  TempDir dir;
  auto worker = [&dir](const char* make, uint32_t exposure, bool& good) {
    // The interoperability pointer leads back to IFD0: each read needs its own visited list.
    Ifd exif = Ifd().Rational(0x829A, {{1, exposure}}).WithOffset(0xA005, LONG, 1, 8);
    const std::string jpeg = CameraJpeg(Order::Motorola, Ifd().Ascii(0x010F, make).SubIfd(0x8769, exif));
    const std::string path = WriteFile(dir.File(std::string(make) + ".jpg"), jpeg);
    const std::string exposureText = "1/" + std::to_string(exposure) + " sec";
    for (int i = 0; i < 300 && good; ++i) {
      const PhotoMetadata data = ReadPhotoMetadata(path, PointOptions());
      good = data.MetadataPresent() && data.exif->CameraMake == make &&
             data.exif->TagValueByName("ExposureTime") == exposureText && data.exif->TagCount() == 4;
    }
  };
  bool goodA = true, goodB = true;
  std::thread first(worker, "Nikon", 60, std::ref(goodA)), second(worker, "Olympus", 500, std::ref(goodB));
  first.join();
  second.join();
  EXPECT_TRUE(goodA && goodB);
}
