#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

#include "core/exif/ImgData.h"
#include "exif/ExifTestKit.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

Ifd SmallIfd0() {
  Ifd exif;
  exif.Rational(0x829A, {{1, 250}});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").SubIfd(0x8769, exif);
  return ifd0;
}

std::string Tiff() { return TiffBuilder(Order::Intel).Bytes(SmallIfd0()); }

struct Read {
  bool result;
  std::unique_ptr<TimgData> data;
};

Read ReadFile(const TempDir& dir, const std::string& name, const std::string& bytes) {
  const std::string path = WriteFile(dir.File(name), bytes);
  auto data = std::make_unique<TimgData>();
  data->DecimalSeparator = '.';
  const bool result = data->ReadPhoto(path);
  return {result, std::move(data)};
}

}  // namespace

TEST(ReadPhoto, outcomesByFileKind) {
  TempDir dir;
  const std::string camera = JpegBuilder().Soi().App1Exif(Tiff()).Dqt().Sos().Bytes();
  {
    SCOPED_TRACE("camera JPEG, upper-case extension");
    auto [ok, data] = ReadFile(dir, "IMG_0001.JPG", camera);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(data->ExifPresent());
    EXPECT_FALSE(data->IptcPresent());
    EXPECT_EQ(data->ErrorText, "<none>");
    EXPECT_EQ(data->FilePath, dir.File("IMG_0001.JPG"));
    EXPECT_EQ(data->ExifInfo->TagValueByName("ExposureTime"), "1/250 sec");
    EXPECT_EQ(data->ExifInfo->Buffer, data->Slot(data->ExifSection)->Content);
  }
  for (const char* name : {"a.jpeg", "a.Jpe"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(ReadFile(dir, name, camera).result);
  }
  for (const char* name : {"photo", "photo.png", "jpg"}) {
    SCOPED_TRACE(name);
    auto [ok, data] = ReadFile(dir, name, camera);
    EXPECT_FALSE(ok);
    EXPECT_EQ(data->ErrorText, "Not an EXIF file");
  }
  {
    SCOPED_TRACE("no file");
    TimgData data;
    EXPECT_FALSE(data.ReadPhoto(dir.File("missing.jpg")));
    EXPECT_EQ(data.ErrorText, "");
    EXPECT_EQ(data.FilePath, "");
    EXPECT_FALSE(data.ReadPhoto(""));
    EXPECT_FALSE(data.ReadPhoto(dir.Path())) << "a folder is not a photo";
  }
  {
    SCOPED_TRACE("not a JPEG");
    auto [ok, data] = ReadFile(dir, "fake.jpg", "GIF89a....");
    EXPECT_FALSE(ok);
    EXPECT_EQ(data->ErrorText, "Not an EXIF file");
  }
  {
    SCOPED_TRACE("JFIF only");
    auto [ok, data] =
        ReadFile(dir, "jfif.jpg", JpegBuilder().Soi().App0Jfif().Dqt().Segment(0xC0, "sof").Segment(0xC4, "dht").Sos().Bytes());
    EXPECT_FALSE(ok);
    EXPECT_EQ(data->ErrorText, "Not an EXIF file");
    EXPECT_EQ(data->JfifSection, 1);
  }
}

TEST(ReadPhoto, aPipeNamedLikeAPhotoIsNotWaitedOn) {
  TempDir dir;
  const std::string path = dir.File("pipe.jpg");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  TimgData data;
  EXPECT_FALSE(data.ReadPhoto(path));
  EXPECT_EQ(data.ErrorText, "Illegal Exif construction");
}

TEST(ReadPhoto, theSameContainerForgetsThePreviousPhoto) {
  TempDir dir;
  TimgData data;
  ASSERT_TRUE(data.ReadPhoto(WriteFile(dir.File("a.jpg"),
                                       JpegBuilder().Soi().App1Exif(Tiff()).Com("c").App13("x").Sos().Bytes())));
  EXPECT_TRUE(data.IptcPresent());
  EXPECT_TRUE(data.IptcInfo);
  ASSERT_TRUE(data.ReadPhoto(WriteFile(dir.File("b.jpg"), JpegBuilder().Soi().Com("only").Sos().Bytes())));
  EXPECT_FALSE(data.ExifPresent());
  EXPECT_FALSE(data.IptcPresent());
  EXPECT_FALSE(data.ExifInfo);
  EXPECT_FALSE(data.IptcInfo);
  EXPECT_EQ(data.Slot(data.CommentSection)->Content, std::string("\x00\x06only", 6));
}

TEST(ScanJpegSegments, whichSegmentsAreKept) {
  const std::string tiff = Tiff();
  {
    SCOPED_TRACE("EXIF as the fifth segment after four plain ones is given up");
    bool found = true;
    auto data = ScanBytes(JpegBuilder().Soi().App0Jfif().Dqt().Dqt().Segment(0xC4, "h").App1Exif(tiff).Sos().Bytes(), &found);
    EXPECT_FALSE(found);
    EXPECT_FALSE(data->ExifPresent());
  }
  {
    SCOPED_TRACE("COM first, EXIF fifth");
    bool found = false;
    auto data = ScanBytes(JpegBuilder().Soi().Com("c").Dqt().Dqt().Dqt().App1Exif(tiff).Sos().Bytes(), &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(data->CommentSection, 1);
    EXPECT_EQ(data->ExifSection, 5);
  }
  {
    SCOPED_TRACE("a second APP1 is dropped and frees its slot");
    auto data = ScanBytes(JpegBuilder().Soi().App1Exif(tiff).Segment(0xE1, "http://ns.adobe.com/xap/1.0/").Com("c").Sos().Bytes());
    EXPECT_EQ(data->ExifSection, 1);
    EXPECT_EQ(data->CommentSection, 2);
    EXPECT_EQ(data->SectionCount, 3) << "COM and SOS";
  }
  {
    SCOPED_TRACE("an EXIF APP1 as sixth segment is dropped");
    auto data = ScanBytes(JpegBuilder().Soi().Com("c").Dqt().Dqt().Dqt().Dqt().App1Exif(tiff).Sos().Bytes());
    EXPECT_FALSE(data->ExifPresent());
    EXPECT_EQ(data->SectionCount, 6);
  }
  {
    SCOPED_TRACE("two COM: the second counts; two APP13: the first counts");
    auto data = ScanBytes(JpegBuilder().Soi().Com("1").App13("first").Com("2").App13("second").Sos().Bytes());
    EXPECT_EQ(data->Slot(data->CommentSection)->Content.substr(2), "2");
    EXPECT_EQ(data->Slot(data->IptcSection)->Content.substr(2), "first");
    EXPECT_EQ(data->SectionCount, 5);
  }
  {
    SCOPED_TRACE("more than 20 segments before SOS");
    JpegBuilder jpeg;
    jpeg.Soi().Com("c");
    for (int i = 0; i < 30; ++i) jpeg.Dqt();
    jpeg.Com("late").Sos();
    bool found = false;
    auto data = ScanBytes(jpeg.Bytes(), &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(data->SectionCount, 20);
    EXPECT_EQ(data->CommentSection, 1);
  }
  {
    SCOPED_TRACE("fill bytes before a marker");
    auto data = ScanBytes(JpegBuilder().Soi().Append("\xFF\xFF\xFF").Com("x").Sos().Bytes());
    EXPECT_EQ(data->CommentSection, 1);
    EXPECT_EQ(data->Slot(1)->Marker, 0xFE);
    EXPECT_EQ(data->Slot(1)->SegLength, 3);
  }
}

TEST(ScanJpegSegments, damagedStreamsEndTheScan) {
  {
    SCOPED_TRACE("end of file inside a segment");
    bool found = true;
    auto data = ScanBytes(JpegBuilder().Soi().Com("c").Append("\xFF\xE1\x40\x00Exif").Bytes(), &found);
    EXPECT_TRUE(found);
    EXPECT_FALSE(data->ExifPresent()) << "a segment read short is not examined";
  }
  {
    SCOPED_TRACE("end of file in fill bytes");
    bool found = true;
    ScanBytes(JpegBuilder().Soi().Append("\xFF\xFF").Bytes(), &found);
    EXPECT_FALSE(found);
  }
  for (uint16_t length : {0, 1}) {
    SCOPED_TRACE(length);
    bool found = false;
    auto data = ScanBytes(JpegBuilder().Soi().SegmentWithLength(0xFE, length, "").Com("after").Sos().Bytes(), &found);
    EXPECT_EQ(data->Slot(1)->Content.size(), 2u);
    EXPECT_TRUE(found) << "the COM after it is still read";
  }
  {
    SCOPED_TRACE("header checks");
    auto bad = ScanBytes(JpegBuilder().Soi().Segment(0xE1, "Exig\0\0II*\0\x08\0\0\0").Sos().Bytes());
    EXPECT_TRUE(bad->ExifPresent());
    EXPECT_EQ(bad->ErrorText, "Incorrect Exif header");
    EXPECT_EQ(bad->ExifInfo->TagCount(), 0);
    auto order = ScanBytes(JpegBuilder().Soi().Segment(0xE1, std::string("Exif\0\0XX*\0\x08\0\0\0", 14)).Sos().Bytes());
    EXPECT_EQ(order->ErrorText, "Invalid Exif alignment marker");
    auto tiny = ScanBytes(JpegBuilder().Soi().Segment(0xE1, "E").Sos().Bytes());
    EXPECT_EQ(tiny->ErrorText, "Incorrect Exif header");
  }
}

TEST(ParseExifSegment, aBrokenIfd0EntryDoesNotLoseTheLaterSegments) {
  // Flash with two values cannot be rendered; the walk of IFD0 ends there.
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Short(0x9209, {16, 0}).Ascii(0x0110, "lost");
  TempDir dir;
  const std::string jpeg =
      JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Intel).Bytes(ifd0)).App13("iptc").Com("note").Sos().Bytes();
  auto [ok, data] = ReadFile(dir, "a.jpg", jpeg);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(data->IptcPresent());
  EXPECT_EQ(data->CommentSection, 3);
  EXPECT_EQ(data->ExifInfo->TagValueByName("Make"), "Canon");
  EXPECT_EQ(data->ExifInfo->TagIndexByName("Model"), -1);

  auto scanned = ScanBytes(jpeg);
  EXPECT_EQ(scanned->ErrorText, "Error Detected = '16, 0' is not a valid integer value");
}

TEST(ParseExifSegment, ifd0OffsetZeroMeansPosition17) {
  const std::string tiff = TiffBuilder(Order::Motorola).Ifd0Offset(0).Bytes(SmallIfd0());
  auto data = ScanBytes(JpegBuilder().Soi().App1Exif(tiff).Sos().Bytes());
  EXPECT_TRUE(data->BigEndian);
  EXPECT_EQ(data->ExifInfo->TagValueByName("Make"), "Canon");
}

TEST(ReadPhoto, tiffFiles) {
  TempDir dir;
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(OrderName(order));
    Ifd ifd0 = SmallIfd0();
    ifd0.Next(Ifd().Short(0x0103, {6}));
    // IFD0 where the header says, behind some image bytes.
    const std::string tiff = TiffBuilder(order).Ifd0Offset(64).Bytes(ifd0);
    auto [ok, data] = ReadFile(dir, "scan.tif", tiff);
    EXPECT_TRUE(ok);
    EXPECT_EQ(data->ErrorText, "<none>");
    EXPECT_EQ(data->ExifSection, 1);
    EXPECT_TRUE(data->ExifInfo->IsTiffFile);
    EXPECT_EQ(data->ExifInfo->Base, -7);
    EXPECT_EQ(data->ExifInfo->Ifd1Offset, 0) << "not recorded for TIFF files";
    EXPECT_EQ(data->ExifInfo->TagValueByName("ExposureTime"), "1/250 sec");
    EXPECT_EQ(data->Slot(1)->Content.size(), tiff.size() - 8) << "a short file gives a short block";
    EXPECT_FALSE(data->ReadingTiff);
  }
  {
    SCOPED_TRACE("a header offset past the block falls back to offset 8");
    std::string tiff = TiffBuilder(Order::Intel).Bytes(SmallIfd0());
    tiff.replace(4, 4, U32(0x7FFFFFF0, Order::Intel));
    auto [ok, data] = ReadFile(dir, "far.tif", tiff);
    EXPECT_TRUE(ok);
    EXPECT_EQ(data->ExifInfo->TagValueByName("Make"), "Canon");
  }
  auto [ok, data] = ReadFile(dir, "jpeg.nef", JpegBuilder().Soi().App1Exif(Tiff()).Sos().Bytes());
  EXPECT_FALSE(ok) << "a .nef name means a TIFF read";
  EXPECT_EQ(data->ErrorText, "Not an EXIF file");
  EXPECT_FALSE(ReadFile(dir, "short.tiff", "II*").result);
}

TEST(ThumbnailPresent, needsAnIfd1AndEnoughRoom) {
  auto withThumb = [](size_t size) {
    Ifd ifd1;
    ifd1.Short(0x0103, {6}).Thumbnail(std::string("\xFF\xD8\xFF\xC4", 4) + std::string(size, 't') + "\xFF\xD9");
    Ifd ifd0 = SmallIfd0();
    ifd0.Next(ifd1);
    return ParseIfd0(Order::Intel, ifd0);
  };
  auto big = withThumb(300);
  EXPECT_TRUE(big->ThumbnailPresent());
  EXPECT_EQ(big->CutThumbnail().substr(0, 4), "\xFF\xD8\xFF\xC4") << "the DHT form of the start is found";
  auto small = withThumb(10);
  EXPECT_LE(small->ExifInfo->Ifd1Length, 256);
  EXPECT_FALSE(small->ThumbnailPresent());
  EXPECT_EQ(small->CutThumbnail(), "");
}

TEST(CutThumbnail, needsAStartAndAnEnd) {
  auto cut = [](const std::string& thumb) {
    Ifd ifd1;
    ifd1.Short(0x0103, {6}).Thumbnail(thumb);
    Ifd ifd0 = SmallIfd0();
    ifd0.Next(ifd1);
    return ParseIfd0(Order::Motorola, ifd0)->CutThumbnail();
  };
  const std::string body(300, 'b');
  EXPECT_EQ(cut("\xFF\xD8\xFF\xE0" + body + "\xFF\xD9"), "") << "a start followed by APP0 is not found";
  EXPECT_EQ(cut("\xFF\xD8\xFF\xDB" + body), "") << "no end marker: no thumbnail";
  EXPECT_EQ(cut("\xFF\xD8\xFF\xDB" + body + "\xFF\xD9 trailing"), "\xFF\xD8\xFF\xDB" + body + "\xFF\xD9");
}

TEST(ReadPhoto, everyPrefixOfAPhotoIsSafe) {
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Thumbnail(std::string("\xFF\xD8\xFF\xDB", 4) + std::string(300, 't') + "\xFF\xD9");
  Ifd gps;
  gps.Rational(0x02, {{50, 1}, {5, 1}, {7, 1}});
  Ifd exif;
  exif.Rational(0x829A, {{1, 250}}).Undefined(0x927C, "maker note").Undefined(0x9286, std::string(20, 'u'));
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").SubIfd(0x8769, exif).SubIfd(0x8825, gps).Next(ifd1);
  for (Order order : {Order::Intel, Order::Motorola}) {
    const std::string full = JpegBuilder().Soi().App1Exif(TiffBuilder(order).Bytes(ifd0)).Com("c").App13("i").Sos().Bytes();
    for (size_t n = 0; n <= full.size(); ++n) {
      auto data = ScanBytes(full.substr(0, n));
      if (data->ExifInfo) {
        data->ExifInfo->ParseThumbnailDirectory();
        data->CutThumbnail();
      }
    }
    // The TIFF block cut anywhere and walked as it is.
    const std::string tiff = TiffBuilder(order).Bytes(ifd0);
    for (size_t n = 0; n <= tiff.size(); ++n) {
      TImageInfo info(nullptr);
      info.BigEndian = order == Order::Motorola;
      info.SetBuffer(tiff.substr(std::min<size_t>(8, n), n > 8 ? n - 8 : 0));
      info.ParseDirectory(1, -7, "", 1, static_cast<int64_t>(info.Buffer.size()));
    }
  }
}

TEST(ReadPhoto, twoPhotosOnTwoThreads) {
  TempDir dir;
  auto photo = [](const char* make, uint32_t exposure) {
    Ifd exif;
    exif.Rational(0x829A, {{1, exposure}}).WithOffset(0xA005, LONG, 1, 8);
    Ifd ifd0;
    ifd0.Ascii(0x010F, make).SubIfd(0x8769, exif);
    return JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Motorola).Bytes(ifd0)).Sos().Bytes();
  };
  const std::string a = WriteFile(dir.File("a.jpg"), photo("Nikon", 60));
  const std::string b = WriteFile(dir.File("b.jpg"), photo("Olympus", 500));
  auto worker = [](const std::string& path, const std::string& make, const std::string& exposure, bool& good) {
    good = true;
    for (int i = 0; i < 300; ++i) {
      TimgData data;
      data.DecimalSeparator = '.';
      good = good && data.ReadPhoto(path) && data.ExifInfo->CameraMake == make &&
             data.ExifInfo->TagValueByName("ExposureTime") == exposure && data.ExifInfo->TagCount() == 4;
    }
  };
  bool goodA = false, goodB = false;
  std::thread first(worker, a, "Nikon", "1/60 sec", std::ref(goodA));
  std::thread second(worker, b, "Olympus", "1/500 sec", std::ref(goodB));
  first.join();
  second.join();
  EXPECT_TRUE(goodA);
  EXPECT_TRUE(goodB);
}
