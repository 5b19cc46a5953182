// Byte layouts of files written from a container: segment order, the default
// JFIF header, the passing over of the image's own leading segments.
#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/exif/ImgData.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"
#include "writer/WriterSupport.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

const std::string kSoi = "\xFF\xD8";
const std::string kDefaultJfif("\xFF\xE0\x00\x10JFIF\x00\x01\x02\x01\x01\x2C\x01\x2C\x00\x00", 18);

std::string ExifPayload(Order order) {
  Ifd exif;
  exif.Long(0xA002, {640}).Short(0xA003, {480});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").SubIfd(0x8769, exif);
  return std::string("Exif\0\0", 6) + TiffBuilder(order).Bytes(ifd0);
}

std::string OwnApp0() { return std::string("JFIF\0\x01\x01\x02\x00\x48\x00\x48\x00\x00", 14); }
std::string IccPayload(int part) { return std::string("ICC_PROFILE\0", 12) + char(part) + '\x02' + "profile-bytes"; }

class WriterLayout : public ::testing::Test {
 protected:
  TempDir dir;
  const std::string encoded = EncodedJpeg(48, 32);
  const std::string body = BodyAfterApp0(encoded);

  // A source photo: SOI, the given segments, then the encoder's tables and scan.
  std::string Source(const std::string& segments) const { return kSoi + segments + body; }
  std::string Put(const std::string& name, const std::string& bytes) const { return WriteFile(dir.File(name), bytes); }
};

}  // namespace

TEST_F(WriterLayout, ReencodedPhotoGetsItsMetadataInFixedOrder) {
  const std::string app1 = SegmentBytes(0xE1, ExifPayload(Order::Motorola));
  const std::string app13 = SegmentBytes(0xED, PhotoshopIptcPayload(IptcDataset(2, 5, "Test")));
  const std::string com = SegmentBytes(0xFE, "a comment");
  const std::string source = Put("src.jpg", Source(SegmentBytes(0xE0, OwnApp0()) + com + app1 + app13));
  TimgData data;
  ASSERT_TRUE(data.ReadPhoto(source));
  data.SaveJpegWithMetadata(LoadedImage(encoded), dir.File("out.jpg"), false);
  SCOPED_TRACE("SOI, EXIF (no APP0), APP13, COM, then the encoder's stream without its APP0");
  EXPECT_EQ(ReadFile(dir.File("out.jpg")), kSoi + app1 + app13 + com + body);
}

TEST_F(WriterLayout, AdjustsTheStoredImageSize) {
  for (Order order : {Order::Motorola, Order::Intel}) {
    SCOPED_TRACE(order == Order::Intel ? "II" : "MM");
    const std::string source = Put("src.jpg", Source(SegmentBytes(0xE1, ExifPayload(order))));
    TimgData data;
    ASSERT_TRUE(data.ReadPhoto(source));
    data.SaveJpegWithMetadata(LoadedImage(encoded), dir.File("out.jpg"), true);
    TimgData back;
    ASSERT_TRUE(back.ReadPhoto(dir.File("out.jpg")));
    ASSERT_NE(back.ExifInfo, nullptr);
    EXPECT_EQ(back.ExifInfo->ImageWidth, 48);
    EXPECT_EQ(back.ExifInfo->ImageHeight, 32);
    EXPECT_EQ(back.Slot(back.ExifSection)->Content.size(), data.Slot(data.ExifSection)->Content.size());
  }
}

TEST_F(WriterLayout, WritesTheOwnOrTheDefaultJfifHeader) {
  EXPECT_EQ(TimgData::DefaultJfifHeader(), kDefaultJfif);

  SCOPED_TRACE("a photo with APP0 and a comment keeps its own APP0");
  const std::string app0 = SegmentBytes(0xE0, OwnApp0());
  const std::string com = SegmentBytes(0xFE, "c");
  TimgData withApp0;
  ASSERT_TRUE(withApp0.ReadPhoto(Put("a.jpg", Source(app0 + com))));
  withApp0.SaveJpegWithMetadata(LoadedImage(encoded), dir.File("a-out.jpg"), true);
  EXPECT_EQ(ReadFile(dir.File("a-out.jpg")), kSoi + app0 + com + body);

  SCOPED_TRACE("a photo without metadata, and a container never filled, get the default header");
  TimgData bare;
  EXPECT_FALSE(bare.ReadPhoto(Put("b.jpg", Source(""))));
  bare.SaveJpegWithMetadata(LoadedImage(encoded), dir.File("b-out.jpg"), true);
  EXPECT_EQ(ReadFile(dir.File("b-out.jpg")), kSoi + kDefaultJfif + body);
  TimgData fresh;
  fresh.SaveJpegWithMetadata(LoadedImage(encoded), dir.File("c-out.jpg"), true);
  EXPECT_EQ(ReadFile(dir.File("c-out.jpg")), kSoi + kDefaultJfif + body);
}

TEST_F(WriterLayout, RewritesPassTheRestThroughUnchanged) {
  const std::string app1 = SegmentBytes(0xE1, ExifPayload(Order::Intel));
  const std::string app2 = SegmentBytes(0xE2, "not a profile");
  const std::string app13 = SegmentBytes(0xED, PhotoshopIptcPayload(IptcDataset(2, 5, "Test")));

  SCOPED_TRACE("DropExif: the default header replaces EXIF, APP2 and the rest follow byte for byte");
  const std::string a = Put("a.jpg", Source(app1 + app2));
  TimgData exif;
  ASSERT_TRUE(exif.ReadPhoto(a));
  exif.DropExif();
  EXPECT_FALSE(exif.ExifPresent());
  exif.RewritePhoto(a);
  EXPECT_EQ(ReadFile(a), kSoi + kDefaultJfif + app2 + body);

  SCOPED_TRACE("DropIptc: the photo's APP0 is forgotten as well");
  const std::string b = Put("b.jpg", Source(SegmentBytes(0xE0, OwnApp0()) + app13));
  TimgData iptc;
  ASSERT_TRUE(iptc.ReadPhoto(b));
  iptc.DropIptc();
  iptc.RewritePhoto(b);
  EXPECT_EQ(ReadFile(b), kSoi + kDefaultJfif + body);

  SCOPED_TRACE("APP1 then APP0: the APP0 probe fails, so the photo's APP0 is carried over");
  const std::string app0 = SegmentBytes(0xE0, OwnApp0());
  const std::string original = Source(app1 + app0);
  const std::string c = Put("c.jpg", original);
  TimgData swapped;
  ASSERT_TRUE(swapped.ReadPhoto(c));
  swapped.RewritePhoto(c);
  EXPECT_EQ(ReadFile(c), original);

  SCOPED_TRACE("a COM after an APP2 is not passed over and is written twice");
  const std::string com = SegmentBytes(0xFE, "twice");
  const std::string d = Put("d.jpg", Source(app1 + app2 + com));
  TimgData twice;
  ASSERT_TRUE(twice.ReadPhoto(d));
  twice.RewritePhoto(d);
  EXPECT_EQ(ReadFile(d), kSoi + app1 + com + app2 + com + body);
}

TEST_F(WriterLayout, SetsTheIptcSegment) {
  SCOPED_TRACE("an empty payload is the four bytes FF ED 00 02");
  TimgData data;
  data.StartEmptyIptc();
  ASSERT_NE(data.IptcInfo, nullptr);
  data.SaveJpegWithMetadata(LoadedImage(encoded), dir.File("e.jpg"), true);
  EXPECT_EQ(ReadFile(dir.File("e.jpg")), kSoi + kDefaultJfif + std::string("\xFF\xED\x00\x02", 4) + body);

  SCOPED_TRACE("twenty kept segments and no APP13: the new segment takes slot 21");
  std::string many = SegmentBytes(0xFE, "c");
  for (int i = 0; i < 19; ++i) many += SegmentBytes(0xE3, "x");
  TimgData full;
  ASSERT_TRUE(full.ReadPhoto(Put("f.jpg", Source(many))));
  ASSERT_EQ(full.SectionCount, 20);
  full.SetIptcSegment("payload");
  EXPECT_EQ(full.IptcSection, 21);
  EXPECT_EQ(full.Slot(21)->Content, std::string("\x00\x09payload", 9));
  EXPECT_EQ(full.Slot(21)->Marker, 237);

  SCOPED_TRACE("a payload beyond 65533 bytes is refused and nothing changes");
  EXPECT_NO_THROW(full.SetIptcSegment(std::string(65533, 'p')));
  EXPECT_THROW(full.SetIptcSegment(std::string(65534, 'p')), LumatrimError);
  EXPECT_EQ(full.Slot(21)->Content.size(), 65535u);
}

TEST_F(WriterLayout, KeepsTheSourceColourProfile) {
  const std::string app1 = SegmentBytes(0xE1, ExifPayload(Order::Intel));
  const std::string icc1 = SegmentBytes(0xE2, IccPayload(1)), icc2 = SegmentBytes(0xE2, IccPayload(2));
  const std::string source = Put("icc.jpg", Source(app1 + icc1 + icc2));
  TimgData data;
  ASSERT_TRUE(data.ReadPhoto(source));

  SCOPED_TRACE("a re-encoded image gets the profile right after the metadata segments");
  data.SaveJpegWithMetadata(LoadedImage(encoded), dir.File("out.jpg"), false);
  EXPECT_EQ(ReadFile(dir.File("out.jpg")), kSoi + app1 + icc1 + icc2 + body);

  SCOPED_TRACE("a rewrite, whose image data holds the profile, keeps it once");
  data.RewritePhoto(source);
  EXPECT_EQ(ReadFile(source), kSoi + app1 + icc1 + icc2 + body);

  SCOPED_TRACE("a damaged profile segment is left out, not fatal");
  for (int s = 1; s <= data.SectionCount; ++s) {
    if (data.Slot(s)->Marker == 0xE2) {
      data.Slot(s)->Content.pop_back();
      break;
    }
  }
  data.SaveJpegWithMetadata(LoadedImage(encoded), dir.File("out2.jpg"), false);
  EXPECT_EQ(ReadFile(dir.File("out2.jpg")), kSoi + app1 + icc2 + body);
}

TEST_F(WriterLayout, RefusesImagesWithoutCodedData) {
  const std::string target = Put("keep.jpg", "old bytes");
  TimgData data;
  JpegImage empty;
  EXPECT_THROW(data.SaveJpegWithMetadata(empty, target, true), LumatrimError);
  JpegImage unencoded;
  unencoded.Assign(Bitmap(8, 8));
  EXPECT_THROW(data.SaveJpegWithMetadata(unencoded, target, true), LumatrimError);
  EXPECT_EQ(ReadFile(target), "old bytes");

  SCOPED_TRACE("a kept segment whose bytes disagree with its length field is not written");
  TimgData damaged;
  ASSERT_TRUE(damaged.ReadPhoto(Put("c.jpg", Source(SegmentBytes(0xFE, "comment")))));
  damaged.Slot(damaged.CommentSection)->Content.resize(5);
  EXPECT_THROW(damaged.SaveJpegWithMetadata(LoadedImage(encoded), target, false), LumatrimError);
  EXPECT_EQ(ReadFile(target), "old bytes");
}

TEST_F(WriterLayout, SegmentsInAnUnusualOrderAreNotLeftBehind) {
  // APP13 before APP1: the probes pass over the APP13 only.
  const std::string app1 = SegmentBytes(0xE1, ExifPayload(Order::Intel));
  const std::string app13 = SegmentBytes(0xED, PhotoshopIptcPayload(IptcDataset(2, 5, "Old")));
  const std::string xmp = SegmentBytes(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33));

  SCOPED_TRACE("removing EXIF removes it, wherever it stood");
  const std::string a = Put("a.jpg", Source(app13 + app1 + xmp));
  TimgData data;
  ASSERT_TRUE(data.ReadPhoto(a));
  data.DropExif();
  data.RewritePhoto(a);
  EXPECT_EQ(ReadFile(a), kSoi + kDefaultJfif + app13 + xmp + body);

  SCOPED_TRACE("saving IPTC leaves one APP13, the new one");
  const std::string b = Put("b.jpg", Source(app13 + app1));
  TimgData iptc;
  ASSERT_TRUE(iptc.ReadPhoto(b));
  iptc.IptcInfo->ReadFromOwner();
  iptc.IptcInfo->SetValue("ObjectName", "New");
  iptc.IptcInfo->SaveToFile(b);
  const std::string app13New = SegmentBytes(0xED, iptc.IptcInfo->BuildApp13());
  // Saving adjusts the stored size to the image's own (48 x 32).
  const std::string app1Now = SegmentBytes(0xE1, iptc.Slot(iptc.ExifSection)->Content.substr(2));
  EXPECT_EQ(ReadFile(b), kSoi + app1Now + app13New + body);

  SCOPED_TRACE("an EXIF block too deep for the scan is not the container's and stays");
  std::string deep = SegmentBytes(0xFE, "c");
  for (int i = 0; i < 5; ++i) deep += SegmentBytes(0xE3, "x");
  const std::string original = Source(deep + app1);
  const std::string c = Put("c.jpg", original);
  TimgData shallow;
  ASSERT_TRUE(shallow.ReadPhoto(c));
  ASSERT_FALSE(shallow.ExifPresent());
  shallow.RewritePhoto(c);
  EXPECT_EQ(ReadFile(c), kSoi + kDefaultJfif + deep + app1 + body);
}
