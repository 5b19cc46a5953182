// Byte layouts of files written from a container: segment order, the default
// JFIF header, the step over the image's own leading segments.
#include <gtest/gtest.h>

#include <functional>

#include "core/bytes/Error.h"
#include "core/exif/ImgData.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"
#include "writer/WriterSupport.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

const std::string kDefaultJfif("\xFF\xE0\x00\x10JFIF\x00\x01\x02\x01\x01\x2C\x01\x2C\x00\x00", 18);
const std::string kEncoded = EncodedJpeg(48, 32);
const std::string kBody = BodyAfterApp0(kEncoded);  // the encoder's tables and scan

std::string Exif(Order order, uint32_t width, uint16_t height) {
  Ifd exif;
  exif.Long(0xA002, {width}).Short(0xA003, {height});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").SubIfd(0x8769, exif);
  return SegmentBytes(0xE1, std::string("Exif\0\0", 6) + TiffBuilder(order).Bytes(ifd0));
}

std::string Iptc(const std::string& objectName) {
  TIPTCdata store(nullptr);
  store.SetValue("ObjectName", objectName);
  return SegmentBytes(0xED, store.BuildApp13());
}

const std::string kApp0 = SegmentBytes(0xE0, std::string("JFIF\0\x01\x01\x02\x00\x48\x00\x48\x00\x00", 14));
const std::string kApp1 = Exif(Order::Intel, 640, 480);
const std::string kApp2 = SegmentBytes(0xE2, "not a profile");
const std::string kApp13 = Iptc("Test");
const std::string kCom = SegmentBytes(0xFE, "a comment");
const std::string kXmp = SegmentBytes(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33));
const std::string kIcc = SegmentBytes(0xE2, std::string("ICC_PROFILE\0\x01\x02one", 17)) +
                         SegmentBytes(0xE2, std::string("ICC_PROFILE\0\x02\x02two", 17));

// A comment and n small APP3 segments: pushes what follows down the segment list.
std::string Fillers(int n) {
  std::string s = SegmentBytes(0xFE, "c");
  for (int i = 0; i < n; ++i) s += SegmentBytes(0xE3, "x");
  return s;
}

std::string PhotoWith(const std::string& segments) { return "\xFF\xD8" + segments + kBody; }

enum class Write { Reencoded, Resized, Rewrite, SaveIptc };

}  // namespace

TEST(WriterLayout, WritesEachCaseByteForByte) {
  const auto dropExif = [](TimgData& d) { d.DropExif(); };
  const auto cutFirstProfile = [](TimgData& d) { d.Slot(d.ExifSection + 1)->Content.pop_back(); };
  const auto setName = [](TimgData& d) {
    d.IptcInfo->ReadFromOwner();
    d.IptcInfo->SetValue("ObjectName", "New");
  };
  const struct {
    const char* what;
    std::string source;  // segments between SOI and kBody
    std::function<void(TimgData&)> edit;
    Write write;
    std::string expected;
  } cases[] = {
      {"SOI, EXIF (no APP0), APP13, COM, then the encoder's stream without its APP0", kApp0 + kCom + kApp1 + kApp13,
       nullptr, Write::Reencoded, kApp1 + kApp13 + kCom},
      {"a photo's own APP0 and comment are kept", kApp0 + kCom, nullptr, Write::Reencoded, kApp0 + kCom},
      {"no metadata: the 18-byte default header", "", nullptr, Write::Reencoded, kDefaultJfif},
      {"an empty IPTC block is FF ED 00 02", "", [](TimgData& d) { d.StartEmptyIptc(); }, Write::Reencoded,
       kDefaultJfif + std::string("\xFF\xED\x00\x02", 4)},
      {"the stored size follows the image (II)", kApp1, nullptr, Write::Resized, Exif(Order::Intel, 48, 32)},
      {"the stored size follows the image (MM)", Exif(Order::Motorola, 640, 480), nullptr, Write::Resized,
       Exif(Order::Motorola, 48, 32)},
      {"DropExif: the default header replaces EXIF, APP2 follows", kApp1 + kApp2, dropExif, Write::Rewrite,
       kDefaultJfif + kApp2},
      {"DropIptc forgets the photo's APP0 as well", kApp0 + kApp13, [](TimgData& d) { d.DropIptc(); },
       Write::Rewrite, kDefaultJfif},
      {"APP1 then APP0: the APP0 probe fails, so the photo's APP0 is carried over", kApp1 + kApp0, nullptr,
       Write::Rewrite, kApp1 + kApp0},
      {"a COM after an APP2 is not passed over and is written twice", kApp1 + kApp2 + kCom, nullptr, Write::Rewrite,
       kApp1 + kCom + kApp2 + kCom},
      {"APP13 before APP1: EXIF is removed wherever it stood", kApp13 + kApp1 + kXmp, dropExif, Write::Rewrite,
       kDefaultJfif + kApp13 + kXmp},
      {"APP13 before APP1: saving IPTC leaves one APP13, the new one", kApp13 + kApp1, setName, Write::SaveIptc,
       Exif(Order::Intel, 48, 32) + Iptc("New")},
      {"an EXIF block too deep for the scan is not the container's and stays", Fillers(5) + kApp1, nullptr,
       Write::Rewrite, kDefaultJfif + Fillers(5) + kApp1},
      {"a re-encoded photo gets the colour profile right after the metadata", kApp1 + kIcc, nullptr,
       Write::Reencoded, kApp1 + kIcc},
      {"a rewrite, whose image data holds the profile, keeps it once", kApp1 + kIcc, nullptr, Write::Rewrite,
       kApp1 + kIcc},
      {"a damaged profile segment is left out, not fatal", kApp1 + kIcc, cutFirstProfile, Write::Reencoded,
       kApp1 + kIcc.substr(kIcc.size() / 2)},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = WriteFile(dir.File("p.jpg"), PhotoWith(c.source));
    TimgData data;
    data.ReadPhoto(path);
    if (c.edit) c.edit(data);
    if (c.write == Write::Rewrite) data.RewritePhoto(path);
    if (c.write == Write::SaveIptc) data.IptcInfo->SaveToFile(path);
    if (c.write == Write::Reencoded || c.write == Write::Resized) {
      data.SaveJpegWithMetadata(LoadedImage(kEncoded), path, c.write == Write::Resized);
    }
    EXPECT_EQ(ReadFile(path), PhotoWith(c.expected));
  }
}

TEST(WriterLayout, SetsTheIptcSegmentWithinItsLengthField) {
  TempDir dir;
  TimgData full;
  ASSERT_TRUE(full.ReadPhoto(WriteFile(dir.File("f.jpg"), PhotoWith(Fillers(19)))));
  ASSERT_EQ(full.SectionCount, 20);
  SCOPED_TRACE("twenty kept segments and no APP13: the new segment takes slot 21");
  full.SetIptcSegment("payload");
  EXPECT_EQ(full.IptcSection, 21);
  EXPECT_EQ(full.Slot(21)->Content, std::string("\x00\x09payload", 9));
  EXPECT_EQ(full.Slot(21)->Marker, 0xED);
  SCOPED_TRACE("a payload beyond 65533 bytes is refused and nothing changes");
  EXPECT_NO_THROW(full.SetIptcSegment(std::string(65533, 'p')));
  EXPECT_THROW(full.SetIptcSegment(std::string(65534, 'p')), LumatrimError);
  EXPECT_EQ(full.Slot(21)->Content.size(), 65535u);
}

TEST(WriterLayout, RefusesWhatWouldMakeABrokenFile) {
  TempDir dir;
  const std::string target = WriteFile(dir.File("keep.jpg"), "old bytes");
  TimgData data;
  SCOPED_TRACE("an image without coded data");
  EXPECT_THROW(data.SaveJpegWithMetadata(JpegImage(), target, true), LumatrimError);
  JpegImage unencoded;
  unencoded.Assign(Bitmap(8, 8));
  EXPECT_THROW(data.SaveJpegWithMetadata(unencoded, target, true), LumatrimError);
  SCOPED_TRACE("a kept segment whose bytes disagree with its length field");
  ASSERT_TRUE(data.ReadPhoto(WriteFile(dir.File("c.jpg"), PhotoWith(kCom))));
  data.Slot(data.CommentSection)->Content.resize(5);
  EXPECT_THROW(data.SaveJpegWithMetadata(LoadedImage(kEncoded), target, false), LumatrimError);
  EXPECT_EQ(ReadFile(target), "old bytes");
}
