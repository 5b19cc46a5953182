// Removing EXIF from real photos rewrites only the leading metadata segments:
// the coded image after them is carried over byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bytes/EndInd.h"
#include "core/bytes/Error.h"
#include "core/exif/ImgData.h"
#include "support/JpegBuilder.h"
#include "writer/WriterSupport.h"

using namespace lumatrim;
using namespace lumatrim::test;
namespace fs = std::filesystem;

namespace {

struct Split {
  std::vector<std::string> segments;  // leading segments, FF and marker included
  std::string rest;                   // from the first SOS (or whatever ends the segments) on
};

Split SplitSegments(const std::string& jpeg, size_t offset) {
  Split split;
  while (tEndInd::ByteAt(jpeg, offset + 1) == 0xFF && tEndInd::InRange(jpeg, offset + 1, 4)) {
    const int marker = tEndInd::ByteAt(jpeg, offset + 2);
    const size_t length = tEndInd::WordAt(jpeg, offset + 3, true);
    if (marker == 0xDA || marker == 0xD9 || length < 2 || offset + 2 + length > jpeg.size()) break;
    split.segments.push_back(jpeg.substr(offset, 2 + length));
    offset += 2 + length;
  }
  split.rest = jpeg.substr(offset);
  return split;
}

// Where the source's own leading APP0, APP1, APP13 and COM end (each at most
// once, in that order).
size_t EndOfLeadingMetadata(const std::string& jpeg) {
  size_t skip = 2;
  for (int probe : {0xE0, 0xE1, 0xED, 0xFE}) {
    const auto at = static_cast<int64_t>(skip) + 1;  // 1-based position of the segment's FF
    if (tEndInd::ByteAt(jpeg, at + 1) == probe) skip += tEndInd::WordAt(jpeg, at + 2, true) + 2;
  }
  return skip;
}

bool Starts(const std::string& segment, uint8_t marker, const std::string& signature) {
  return static_cast<uint8_t>(segment[1]) == marker && segment.size() >= 4 + signature.size() && segment.compare(4, signature.size(), signature) == 0;
}

std::vector<fs::path> CorpusJpegs() {
  std::vector<fs::path> files;
  const std::string corpus = CorpusDir();
  if (corpus.empty()) return files;
  for (const auto& entry : fs::directory_iterator(corpus + "/photos")) {
    std::string ext = entry.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".jpg" || ext == ".jpeg") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TEST(CorpusRewrite, StripExifPassesTheCodedImageThrough) {
  const auto files = CorpusJpegs();
  if (files.empty()) GTEST_SKIP() << "no photo corpus on this machine";
  TempDir dir;
  int rewritten = 0, withExif = 0;
  for (const fs::path& source : files) {
    SCOPED_TRACE(source.filename().string());
    const std::string original = ReadFile(source.string());
    const std::string copy = WriteFile(dir.File(source.filename().string()), original);
    TimgData data;
    data.ReadPhoto(copy);
    const bool hadExif = data.ExifPresent();
    withExif += hadExif ? 1 : 0;
    data.DropExif();
    std::string head;
    try {
      data.EmitMetadataSegments(head);
      data.RewritePhoto(copy);
    } catch (const LumatrimError& error) {
      // Damaged photos may be refused, but never half written.
      EXPECT_EQ(ReadFile(copy), original) << error.what();
      continue;
    }
    ++rewritten;
    // Behind the container's segments: the source's other segments (without
    // any EXIF, and without stale IPTC blocks when the container has its own)
    // and then the coded image, byte for byte.
    const std::string output = ReadFile(copy);
    ASSERT_EQ(output.compare(0, head.size(), head), 0);
    const Split got = SplitSegments(output, head.size());
    const Split want = SplitSegments(original, EndOfLeadingMetadata(original));
    std::vector<std::string> wantSegments;
    for (const std::string& segment : want.segments) {
      if (hadExif && Starts(segment, 0xE1, std::string("Exif\0", 5))) continue;
      if (data.IptcPresent() && Starts(segment, 0xED, "Photoshop 3.0")) continue;
      wantSegments.push_back(segment);
    }
    EXPECT_EQ(got.segments, wantSegments);
    EXPECT_TRUE(got.rest == want.rest) << "the coded image differs";

    for (const std::string& segment : got.segments) {
      EXPECT_FALSE(Starts(segment, 0xE1, std::string("Exif\0", 5))) << "no EXIF block is left";
    }
    try {
      const Bitmap before = LoadedImage(original).Decode(8);
      const Bitmap after = LoadedImage(output).Decode(8);
      EXPECT_EQ(before.Bytes, after.Bytes) << "the photo decodes as before";
    } catch (const LumatrimError&) {
      // A source that does not decode (truncated scan) need not decode after.
    }
  }
  EXPECT_GE(rewritten, static_cast<int>(files.size()) - 5) << "most corpus photos are rewritable";
  EXPECT_GE(withExif, 40);
}
