// Removing EXIF from real photos rewrites only the leading metadata segments:
// the coded image after them is carried over byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
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
  std::vector<std::string> others;  // leading APPn and COM segments other than EXIF and stale IPTC
  std::string coded;                // from the first other segment (tables, frame, scan) on
  bool exif = false;                // an EXIF block among the leading segments
};

Split SplitFrom(const std::string& jpeg, size_t at, bool dropIptc) {
  Split split;
  while (tEndInd::InRange(jpeg, at + 1, 4) && tEndInd::ByteAt(jpeg, at + 1) == 0xFF) {
    const int marker = tEndInd::ByteAt(jpeg, at + 2);
    if ((marker & 0xF0) != 0xE0 && marker != 0xFE) break;
    const std::string segment = jpeg.substr(at, 2 + tEndInd::WordAt(jpeg, at + 3, true));
    const bool exif = marker == 0xE1 && segment.size() >= 4 && segment.compare(4, 5, std::string("Exif\0", 5)) == 0;
    split.exif = split.exif || exif;
    if (!exif && !(dropIptc && marker == 0xED && segment.size() >= 4 && segment.compare(4, 13, "Photoshop 3.0") == 0)) {
      split.others.push_back(segment);
    }
    at += segment.size();
  }
  split.coded = jpeg.substr(at);
  return split;
}

// Where the source's leading APP0, APP1, APP13 and COM (each at most once, in
// that order) end: what the container's own segments stand in for.
size_t EndOfLeadingMetadata(const std::string& jpeg) {
  size_t end = 2;
  for (int marker : {0xE0, 0xE1, 0xED, 0xFE}) {
    if (tEndInd::ByteAt(jpeg, end + 2) == marker) end += 2 + tEndInd::WordAt(jpeg, end + 3, true);
  }
  return end;
}

}  // namespace

TEST(CorpusRewrite, StripExifPassesTheCodedImageThrough) {
  const std::string corpus = CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no photo corpus on this machine";
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(corpus + "/photos")) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".jpg" || ext == ".jpeg") files.push_back(entry.path());
  }
  TempDir dir;
  int rewritten = 0, withExif = 0;
  for (const fs::path& source : files) {
    SCOPED_TRACE(source.filename().string());
    const std::string original = ReadFile(source.string());
    const std::string copy = WriteFile(dir.File(source.filename().string()), original);
    TimgData data;
    data.ReadPhoto(copy);
    withExif += data.ExifPresent() ? 1 : 0;
    data.DropExif();
    try {
      data.RewritePhoto(copy);
    } catch (const LumatrimError& error) {
      EXPECT_EQ(ReadFile(copy), original) << "refused, but never half written: " << error.what();
      continue;
    }
    ++rewritten;
    std::string head;
    data.EmitMetadataSegments(head);
    const std::string output = ReadFile(copy);
    ASSERT_EQ(output.compare(0, head.size(), head), 0) << "the container's segments come first";
    const Split got = SplitFrom(output, head.size(), data.IptcPresent());
    const Split want = SplitFrom(original, EndOfLeadingMetadata(original), data.IptcPresent());
    EXPECT_FALSE(got.exif) << "no EXIF block is left";
    EXPECT_TRUE(got.others == want.others) << "the other segments follow in their order";
    EXPECT_TRUE(got.coded == want.coded) << "the coded image differs";
  }
  EXPECT_GE(rewritten, static_cast<int>(files.size()) - 5) << "most corpus photos are rewritable";
  EXPECT_GE(withExif, 40);
}
