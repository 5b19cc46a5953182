#include <gtest/gtest.h>

#include <vector>

#include "core/jpeg/JpegSegment.h"
#include "core/jpeg/SegmentSplice.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using namespace lumatrim::test;
using namespace std::string_literals;

namespace {

std::vector<JpegSegment> Walk(const std::string& bytes, JpegSegmentReader::Prefix prefix) {
  MemorySource source(std::string_view(bytes).substr(2));  // past SOI
  JpegSegmentReader reader(source, prefix, 2);
  std::vector<JpegSegment> segments;
  JpegSegment segment;
  while (reader.Next(segment)) segments.push_back(segment);
  return segments;
}

}  // namespace

TEST(JpegSegmentReader, yieldsEachSegmentWithWhereItStartsAndWhatItIs) {
  const std::string jpeg =
      JpegBuilder().Soi().App1Exif("MM").App13(std::string("Photoshop 3.0\0", 14)).Com("hi").Sos().Bytes();
  const auto segments = Walk(jpeg, JpegSegmentReader::Prefix::Strict);
  ASSERT_GE(segments.size(), 4u);
  EXPECT_TRUE(segments[0].IsExif());
  EXPECT_EQ(segments[0].start, 2u);
  EXPECT_TRUE(segments[1].IsPhotoshop());
  EXPECT_EQ(segments[1].start, segments[0].start + segments[0].Extent());
  EXPECT_TRUE(segments[2].Is(JpegMarker::Com));
  EXPECT_EQ(segments[2].content, std::string("\0\x04hi", 4));
  EXPECT_TRUE(segments[3].EndsHeaders());
  EXPECT_TRUE(segments[0].Complete() && segments[1].Complete() && segments[2].Complete());
}

TEST(JpegSegmentReader, damagedSegmentsAreReportedNotSkipped) {
  struct Case {
    const char* name;
    std::string bytes;
    JpegSegmentReader::Prefix prefix;
    size_t segments;
    bool firstComplete;
  };
  const std::string soi = JpegBuilder().Soi().Bytes();
  const Case cases[] = {
      {"cut short by the end", soi + "\xFF\xFE\x00\x10" "abc"s, JpegSegmentReader::Prefix::Strict, 1, false},
      {"length below two", soi + "\xFF\xFE\x00\x01"s, JpegSegmentReader::Prefix::Strict, 1, false},
      {"fill bytes end a strict walk", soi + "\xFF\xFF\xFE\x00\x02"s, JpegSegmentReader::Prefix::Strict, 1, false},
      {"fill bytes pass a lenient walk", soi + "\xFF\xFF\xFE\x00\x02"s, JpegSegmentReader::Prefix::Lenient, 1, true},
      {"stray byte ends a strict walk", soi + "\x00\xFE\x00\x02"s, JpegSegmentReader::Prefix::Strict, 0, false},
      {"no room for a length", soi + "\xFF\xFE\x00"s, JpegSegmentReader::Prefix::Lenient, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto segments = Walk(c.bytes, c.prefix);
    ASSERT_EQ(segments.size(), c.segments);
    if (!segments.empty()) {
      EXPECT_EQ(segments[0].Complete(), c.firstComplete);
    }
  }
}

TEST(JpegSegment, anIccProfileCountsOnlyBeforeTheScanInACompleteSegment) {
  const std::string icc = std::string("ICC_PROFILE\0", 12) + "\x01\x01" + "profile";
  const std::string soi = JpegBuilder().Soi().Bytes();
  EXPECT_TRUE(HasIccProfile(JpegBuilder().App0Jfif().Segment(0xE2, icc).Sos().Bytes()));
  EXPECT_FALSE(HasIccProfile(JpegBuilder().App0Jfif().Sos().Segment(0xE2, icc).Bytes()));
  EXPECT_FALSE(HasIccProfile(JpegBuilder().SegmentWithLength(0xE2, 0x4000, icc).Bytes()));
}

TEST(SegmentSplice, theEncodersOwnMetadataIsPassedOverAndStaleBlocksLeftOut) {
  const std::string exif = JpegBuilder().App1Exif("II*\0"s).Bytes();
  const std::string iptc = JpegBuilder().App13("Photoshop 3.0\0"s).Bytes();
  const std::string dqt = JpegBuilder().Dqt().Bytes();
  const std::string com = JpegBuilder().Com("x").Bytes();
  const std::string encoded = JpegBuilder().Soi().App0Jfif().Bytes() + com + dqt + exif + iptc + com + "\xFF\xDA"s;
  const size_t afterApp0 = encoded.find(com);
  EXPECT_EQ(EndOfLeadingMetadata(encoded), afterApp0) << "APP0 passed over, APP1 and APP13 absent";
  EXPECT_EQ(EndOfLeadingMetadata(encoded.substr(0, 5)), std::nullopt) << "too short for the probes";
  // Stray bytes before a marker stop the probes where they stand.
  EXPECT_EQ(EndOfLeadingMetadata("\xFF\xD8\x00\xE0\x00\x10"s + dqt), 2u);

  const auto joined = [&](const StaleMetadata& stale) {
    std::string out;
    for (std::string_view piece : PiecesWithoutStaleMetadata(encoded, afterApp0, stale)) out.append(piece);
    return out;
  };
  EXPECT_EQ(joined({.exif = true}), com + dqt + iptc + com + "\xFF\xDA"s);
  EXPECT_EQ(joined({.iptc = true}), com + dqt + exif + com + "\xFF\xDA"s);
  EXPECT_EQ(joined({.comments = {std::string_view(com).substr(2)}}), dqt + exif + iptc + com + "\xFF\xDA"s)
      << "a comment written with the kept segments stands for one of its copies, not both";
}
