// Byte layouts of files written from a container: segment order, the default
// JFIF header, the step over the image's own leading segments; on the corpus,
// the coded image passed through byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/bytes/ByteSource.h"
#include "core/bytes/Error.h"
#include "core/jpeg/JpegSegment.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"
#include "photo/WriterSupport.h"

using namespace lumatrim;
using namespace lumatrim::test;
namespace fs = std::filesystem;

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
  IptcRecord store;
  store.SetValue("ObjectName", objectName);
  return SegmentBytes(0xED, store.BuildApp13());
}

const std::string kApp0 = SegmentBytes(0xE0, std::string("JFIF\0\x01\x01\x02\x00\x48\x00\x48\x00\x00", 14));
const std::string kApp1 = Exif(Order::Intel, 640, 480);
const std::string kApp2 = SegmentBytes(0xE2, "not a profile");
const std::string kApp13 = Iptc("Test");
const std::string kCom = SegmentBytes(0xFE, "a comment");
const std::string kCom2 = SegmentBytes(0xFE, "another comment");
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

struct Split {
  std::vector<std::string> others;  // leading APPn and COM segments other than EXIF, XMP and stale IPTC
  std::string coded;                // from the first other segment (tables, frame, scan) on
  bool exif = false;                // an EXIF block among the leading segments
};

Split SplitFrom(const std::string& jpeg, size_t at, bool dropIptc) {
  Split split;
  MemorySource source(std::string_view(jpeg).substr(std::min(at, jpeg.size())));
  JpegSegmentReader reader(source, JpegSegmentReader::Prefix::Strict, at);
  JpegSegment segment;
  size_t codedStart = at;
  while (reader.Next(segment) && ((segment.marker & 0xF0) == 0xE0 || segment.Is(JpegMarker::Com))) {
    const bool exif = segment.IsExif();
    split.exif = split.exif || exif;
    // XMP, like EXIF, is the container's: written with its segments.
    const bool xmp = IsXmpSegment(segment.marker, segment.content) || IsXmpExtensionSegment(segment.marker, segment.content);
    if (!exif && !xmp && !(dropIptc && segment.IsPhotoshop())) {
      split.others.push_back(std::string("\xFF") + static_cast<char>(segment.marker) + segment.content);
    }
    codedStart = reader.Offset();
  }
  split.coded = jpeg.substr(codedStart);
  return split;
}

// The photo without its XMP segments and the comments its read kept,
// wherever they stood before the scan: the container writes those in front.
std::string WithoutContainerSegments(const std::string& jpeg, const PhotoMetadata& read) {
  std::string out = jpeg.substr(0, 2);
  MemorySource source(std::string_view(jpeg).substr(2));
  JpegSegmentReader reader(source, JpegSegmentReader::Prefix::Strict, 2);
  JpegSegment segment;
  const auto keptComment = [&read](const JpegSegment& s) {
    return s.Is(JpegMarker::Com) && std::any_of(read.segments.begin(), read.segments.end(),
                                                [&s](const KeptSegment& k) { return k.content == s.content; });
  };
  while (reader.Next(segment) && !segment.EndsHeaders() && segment.Complete()) {
    if (!IsXmpSegment(segment.marker, segment.content) && !keptComment(segment)) out += jpeg.substr(segment.start, segment.Extent());
  }
  return out + jpeg.substr(std::min<size_t>(segment.start, jpeg.size()));
}

// Where the source's leading APP0, APP1 and APP13 (each at most once, in
// that order) end: what the container's own segments stand in for.
size_t EndOfLeadingMetadata(const std::string& jpeg) {
  size_t end = 2;
  for (JpegMarker marker : {JpegMarker::App0, JpegMarker::App1, JpegMarker::App13}) {
    MemorySource source(std::string_view(jpeg).substr(std::min(end, jpeg.size())));
    JpegSegmentReader reader(source, JpegSegmentReader::Prefix::Strict, end);
    JpegSegment segment;
    if (reader.Next(segment) && segment.Is(marker)) end += segment.Extent();
  }
  return end;
}

}  // namespace

TEST(WriterLayout, WritesEachCaseByteForByte) {
  const auto dropExif = [](PhotoMetadata& d) { DropExif(d); };
  const auto cutFirstProfile = [](PhotoMetadata& d) { d.Segment(d.exifSegment + 1)->content.pop_back(); };
  const auto setName = [](PhotoMetadata& d) {
    d.iptc->SetValue("ObjectName", "New");
  };
  const struct {
    const char* what;
    std::string source;  // segments between SOI and kBody
    std::function<void(PhotoMetadata&)> edit;
    Write write;
    std::string expected;
  } cases[] = {
      {"SOI, the kept segments in the source's order (EXIF, not APP0), then the encoder's stream without its APP0",
       kApp0 + kCom + kApp1 + kApp13, nullptr, Write::Reencoded, kCom + kApp1 + kApp13},
      {"a photo's own APP0 and comment are kept", kApp0 + kCom, nullptr, Write::Reencoded, kApp0 + kCom},
      {"no metadata: the 18-byte default header", "", nullptr, Write::Reencoded, kDefaultJfif},
      {"an empty IPTC block is FF ED 00 02", "", [](PhotoMetadata& d) { StartEmptyIptc(d); }, Write::Reencoded,
       kDefaultJfif + std::string("\xFF\xED\x00\x02", 4)},
      {"the stored size follows the image (II)", kApp1, nullptr, Write::Resized, Exif(Order::Intel, 48, 32)},
      {"the stored size follows the image (MM)", Exif(Order::Motorola, 640, 480), nullptr, Write::Resized,
       Exif(Order::Motorola, 48, 32)},
      {"DropExif: the default header replaces EXIF, APP2 follows", kApp1 + kApp2, dropExif, Write::Rewrite,
       kDefaultJfif + kApp2},
      {"DropIptc forgets the photo's APP0 as well", kApp0 + kApp13, [](PhotoMetadata& d) { DropIptc(d); },
       Write::Rewrite, kDefaultJfif},
      {"APP1 then APP0: the APP0 probe fails, so the photo's APP0 is carried over", kApp1 + kApp0, nullptr,
       Write::Rewrite, kApp1 + kApp0},
      {"a COM after an APP2 is written once, with the kept segments", kApp1 + kApp2 + kCom, nullptr, Write::Rewrite,
       kApp1 + kCom + kApp2},
      {"two comments are both kept, each once", kCom + kApp2 + kCom2, nullptr, Write::Rewrite,
       kDefaultJfif + kCom + kCom2 + kApp2},
      {"APP13 before APP1: EXIF is removed wherever it stood", kApp13 + kApp1 + kXmp, dropExif, Write::Rewrite,
       kDefaultJfif + kApp13 + kXmp},
      {"APP13 before APP1: saving IPTC leaves one APP13, the new one, still before", kApp13 + kApp1, setName,
       Write::SaveIptc, Iptc("New") + Exif(Order::Intel, 48, 32)},
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
    PhotoMetadata data = ReadPhotoMetadata(path);
    if (c.edit) c.edit(data);
    if (c.write == Write::Rewrite) RewritePhoto(data, path);
    if (c.write == Write::SaveIptc) SaveIptc(data, path);
    if (c.write == Write::Reencoded || c.write == Write::Resized) {
      const JpegImage image = LoadedImage(kEncoded);
      if (c.write == Write::Resized) SetPictureSize(data, image.Height(), image.Width());
      WriteJpegWithMetadata(data, image, path);
    }
    EXPECT_EQ(ReadFile(path), PhotoWith(c.expected));
  }
}

TEST(WriterLayout, RefusesWhatWouldMakeABrokenFile) {
  TempDir dir;
  const std::string target = WriteFile(dir.File("keep.jpg"), "old bytes");
  PhotoMetadata data;
  JpegImage unencoded;
  unencoded.Assign(Bitmap(8, 8));
  EXPECT_THROW(WriteJpegWithMetadata(data, JpegImage(), target), LumatrimError) << "no coded data";
  EXPECT_THROW(WriteJpegWithMetadata(data, unencoded, target), LumatrimError) << "no coded data yet";
  SCOPED_TRACE("twenty kept segments and no APP13: the new segment takes index 20; beyond 65533 bytes it is refused");
  data = ReadPhotoMetadata(WriteFile(dir.File("f.jpg"), PhotoWith(Fillers(19))));
  ASSERT_TRUE(data.MetadataPresent());
  SetIptcSegment(data, "payload");
  EXPECT_EQ(data.iptcSegment, 20);
  EXPECT_EQ(data.Segment(20)->content, std::string("\x00\x09payload", 9));
  EXPECT_NO_THROW(SetIptcSegment(data, std::string(65533, 'p')));
  EXPECT_THROW(SetIptcSegment(data, std::string(65534, 'p')), LumatrimError);
  EXPECT_EQ(data.Segment(20)->content.size(), 65535u);
  SCOPED_TRACE("a kept segment whose bytes disagree with its length field");
  data.Segment(data.commentSegment)->content += 'x';
  EXPECT_THROW(WriteJpegWithMetadata(data, LoadedImage(kEncoded), target), LumatrimError);
  EXPECT_EQ(ReadFile(target), "old bytes");
}

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
    PhotoMetadata data = ReadPhotoMetadata(copy);
    withExif += data.ExifPresent() ? 1 : 0;
    DropExif(data);
    try {
      RewritePhoto(data, copy);
    } catch (const LumatrimError& error) {
      EXPECT_EQ(ReadFile(copy), original) << "refused, but never half written: " << error.what();
      continue;
    }
    ++rewritten;
    std::string head;
    EmitMetadataSegments(data, head);
    const std::string output = ReadFile(copy);
    ASSERT_EQ(output.compare(0, head.size(), head), 0) << "the container's segments come first";
    const Split got = SplitFrom(output, head.size(), data.IptcPresent());
    const std::string source = WithoutContainerSegments(original, data);
    const Split want = SplitFrom(source, EndOfLeadingMetadata(source), data.IptcPresent());
    EXPECT_FALSE(got.exif) << "no EXIF block is left";
    EXPECT_TRUE(got.others == want.others) << "the other segments follow in their order";
    EXPECT_TRUE(got.coded == want.coded) << "the coded image differs";
  }
  EXPECT_GE(rewritten, static_cast<int>(files.size()) - 5) << "most corpus photos are rewritable";
  EXPECT_GE(withExif, 40);
}

// The batch reads only what the writer needs; the segments it then writes
// must be those of a full read given the same new size.
TEST(WritersRead, WritesTheSameSegmentsAsAFullRead) {
  std::vector<std::pair<std::string, std::string>> photos;
  for (Order order : {Order::Intel, Order::Motorola}) {
    Ifd exif;
    exif.Long(0xA002, {640}).Short(0xA003, {480}).Undefined(0x927C, "maker note bytes");
    Ifd ifd0;
    ifd0.Ascii(0x010F, "NIKON").Short(0x0100, {640}).Long(0x0101, {480}).SubIfd(0x8769, exif);
    const std::string app1 = SegmentBytes(0xE1, std::string("Exif\0\0", 6) + TiffBuilder(order).Bytes(ifd0));
    photos.emplace_back(order == Order::Intel ? "built Intel" : "built Motorola", PhotoWith(app1 + kApp13 + kCom));
  }
  if (const std::string corpus = CorpusDir(); !corpus.empty()) {
    for (const auto& entry : fs::directory_iterator(corpus + "/photos")) {
      if (entry.path().extension() == ".jpg") photos.emplace_back(entry.path().filename(), ReadFile(entry.path()));
    }
  }
  for (const auto& [name, bytes] : photos) {
    SCOPED_TRACE(name);
    MemorySource fullInput(bytes), leanInput(bytes);
    PhotoMetadata full = ReadJpegMetadata(fullInput);
    PhotoMetadata lean = ReadJpegMetadata(leanInput, {.depth = ReadDepth::ForWriting});
    const auto written = [](PhotoMetadata& photo) {
      SetPictureSize(photo, 123, 4567);
      std::string segments;
      try {
        EmitMetadataSegments(photo, segments);
      } catch (const LumatrimError&) {
        return std::string("refused");
      }
      return segments;
    };
    EXPECT_TRUE(written(full) == written(lean));
    if (lean.exif) { EXPECT_EQ(lean.exif->SizeFields.size(), full.exif->SizeFields.size()); }
  }
}
