// A photo's XMP segments as the reader keeps them and the writers emit them.
#include <gtest/gtest.h>

#include "core/photo/PhotoEdits.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/photo/PhotoXmp.h"
#include "photo/WriterSupport.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

const std::string kEmptyTiff("II*\0\x08\0\0\0\0\0\0\0\0\0", 14);

std::string XmpPayload(const std::string& properties) {
  return StandardXmpPayload("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
                            "<rdf:Description xmlns:exif=\"http://ns.adobe.com/exif/1.0/\">" + properties +
                            "</rdf:Description></rdf:RDF></x:xmpmeta>");
}

// The markers of a file's segments up to the scan, in order.
std::string Markers(const std::string& jpeg) {
  std::string markers;
  for (size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == '\xFF' && (jpeg[at + 1] & 0xF0) == 0xE0;) {
    markers += jpeg[at + 1];
    at += 2 + (static_cast<uint8_t>(jpeg[at + 2]) << 8 | static_cast<uint8_t>(jpeg[at + 3]));
  }
  return markers;
}

}  // namespace

TEST(XmpPhoto, RewritesKeepTheSourcesSegmentOrderAndAnUntouchedPacket) {
  TempDir dir;
  const std::string xmp = XmpPayload("<exif:GPSLatitude>50,5N</exif:GPSLatitude>");
  const std::string path = WriteFile(
      dir.File("order.jpg"), JpegBuilder().Soi().App13(PhotoshopIptcPayload(IptcDataset(2, 90, "Brno"))).App1Exif(kEmptyTiff)
                                 .Segment(0xE1, xmp).Bytes() + BodyAfterApp0(EncodedJpeg(16, 16)));
  PhotoMetadata photo = ReadPhotoMetadata(path);
  ASSERT_TRUE(photo.XmpPresent());
  ASSERT_TRUE(photo.xmp);
  EXPECT_EQ(photo.xmp->Properties().size(), 1u);
  RewritePhoto(photo, path);
  const std::string written = ReadFile(path);
  EXPECT_EQ(Markers(written), "\xED\xE1\xE1") << "APP13 stays before the EXIF; XMP once";
  EXPECT_NE(written.find(xmp), std::string::npos) << "the packet byte for byte";

  const GpsRemoved removed = RemoveGps(photo);
  EXPECT_TRUE(removed.xmp && !removed.exif);
  EXPECT_FALSE(HasGps(photo));
}

TEST(XmpPhoto, APacketTooLargeForOneSegmentMovesIntoTheExtendedPacket) {
  PhotoMetadata photo;
  const std::string packet = XmpPayload("<exif:UserComment>" + std::string(100000, 'u') + "</exif:UserComment>").substr(29);
  SetXmp(photo, packet);
  EXPECT_EQ(photo.xmpExtensionSegments.size(), 2u);
  const XmpBlock block = ReadPhotoXmp(photo);
  EXPECT_TRUE(block.problem.empty()) << block.problem;
  EXPECT_EQ(block.extended.bytes, packet);
  for (int index : photo.xmpExtensionSegments) EXPECT_LE(photo.Segment(index)->content.size(), 65535u);
}

TEST(XmpPhoto, ADamagedPacketIsKeptUnlessAPositionMustGo) {
  for (const bool namesGps : {false, true}) {
    SCOPED_TRACE(namesGps ? "names GPS" : "no GPS");
    PhotoMetadata photo;
    const std::string damaged = std::string(kXmpSignature) + "<x:xmpmeta><exif:" + (namesGps ? "GPSLatitude" : "Make");
    photo.segments.push_back({std::string(2, '\0') + damaged, 0xE1, 0});
    photo.xmpSegment = 0;
    EXPECT_TRUE(ReadPhotoXmp(photo).standard.damaged);
    MakeXmpUpright(photo);
    EXPECT_EQ(photo.segments[0].content.substr(2), damaged);
    EXPECT_EQ(DropGps(photo), namesGps);
    EXPECT_EQ(photo.XmpPresent(), !namesGps);
  }
}
