#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "OptiPhotos.h"
#include "core/bytes/Error.h"
#include "core/exif/ImgData.h"
#include "core/jpeg/JpegImage.h"
#include "core/optimal/OptiBatch.h"

namespace lumatrim::test {
namespace {

namespace fs = std::filesystem;

OptiSettings Fixed(const std::string& folder, int shortSide, int longSide, int jobs = 1) {
  OptiSettings s;
  s.TargetFolder = folder;
  s.ShortSide = shortSide;
  s.LongSide = longSide;
  s.Jobs = jobs;
  return s;
}

std::pair<int, int> SizeOf(const std::string& path) {
  JpegImage image;
  image.LoadFromFile(path);
  return {image.Width(), image.Height()};
}

TEST(OptiBatch, PartExamplesGiveTheRequestedSizes) {
  TempDir in, out;
  const std::string landscape = WriteFile(in.File("land.jpg"), CameraPhoto(3000, 2000));
  const std::string portrait = WriteFile(in.File("port.jpg"), CameraPhoto(2000, 3000));
  const std::string square = WriteFile(in.File("sq.jpg"), CameraPhoto(1000, 1000));
  EXPECT_EQ(RunOptiBatch({landscape, portrait, square}, Fixed(out.Path(), 600, 800, 2)), 3);
  EXPECT_EQ(SizeOf(out.File("opt_land.jpg")), std::make_pair(800, 600));
  EXPECT_EQ(SizeOf(out.File("opt_port.jpg")), std::make_pair(600, 800));
  EXPECT_EQ(SizeOf(out.File("opt_sq.jpg")), std::make_pair(600, 600));

  OptiSettings keep = Fixed(out.Path(), 0, 0);
  keep.KeepSize = true;
  RunOptiBatch({portrait, square}, keep);
  EXPECT_EQ(SizeOf(out.File("opt_port.jpg")), std::make_pair(2000, 3000));
  EXPECT_EQ(SizeOf(out.File("opt_sq.jpg")), std::make_pair(1000, 1000));
}

TEST(OptiBatch, OutputKeepsMetadataWithNewSizeAndIsProgressiveQuality80) {
  TempDir in, out;
  const std::string source = WriteFile(in.File("a.jpg"), CameraPhoto(300, 200));
  RunOptiBatch({source}, Fixed(out.Path(), 60, 80));
  const std::string written = ReadFile(out.File("opt_a.jpg"));

  // SOI, APP1 Exif, APP13, COM, then the encoder's stream without its APP0.
  const std::vector<int> markers = SegmentMarkers(written);
  ASSERT_GE(markers.size(), 4u);
  EXPECT_EQ(std::vector<int>(markers.begin(), markers.begin() + 4), (std::vector<int>{0xE1, 0xED, 0xFE, 0xDB}));
  EXPECT_EQ(std::count(markers.begin(), markers.end(), 0xE0), 0);
  EXPECT_EQ(std::count(markers.begin(), markers.end(), 0xC2), 1) << "progressive SOF2";
  EXPECT_EQ(written.substr(written.size() - 2), "\xFF\xD9");

  // Compression 20 is quality 80: the standard tables scaled by 40 %.
  const std::vector<int> luma = QuantTable(written, 0), chroma = QuantTable(written, 1);
  ASSERT_EQ(luma.size(), 64u);
  ASSERT_EQ(chroma.size(), 64u);
  EXPECT_EQ((std::vector<int>{luma[0], luma[1], luma[2], luma[63]}), (std::vector<int>{6, 4, 5, 40}));
  EXPECT_EQ((std::vector<int>{chroma[0], chroma[1], chroma[63]}), (std::vector<int>{7, 7, 40}));

  TimgData meta;
  ASSERT_TRUE(meta.ReadPhoto(out.File("opt_a.jpg")));
  ASSERT_TRUE(meta.ExifInfo);
  EXPECT_EQ(meta.ExifInfo->GetTagInt("ExifImageWidth"), 80);
  EXPECT_EQ(meta.ExifInfo->GetTagInt("ExifImageLength"), 60);
  EXPECT_EQ(meta.ExifInfo->TagValueByName("Make"), "Canon");
  EXPECT_TRUE(meta.ThumbnailPresent());
}

TEST(OptiBatch, PhotosWithoutExifGetTheirJfifHeaderOrTheDefaultOne) {
  TempDir in, out;
  const std::string ownApp0 = JpegBuilder().Soi().App0Jfif().Com("x").Bytes() + CodedPicture(40, 30);
  const std::string bare = "\xFF\xD8" + CodedPicture(40, 30);
  const std::string a = WriteFile(in.File("app0.jpg"), ownApp0);
  const std::string b = WriteFile(in.File("bare.jpg"), bare);
  RunOptiBatch({a, b}, Fixed(out.Path(), 10, 20));

  const std::string withApp0 = ReadFile(out.File("opt_app0.jpg"));
  EXPECT_EQ(withApp0.substr(2, 18), JpegBuilder().App0Jfif().Bytes()) << "the photo's own APP0";
  EXPECT_EQ(SegmentMarkers(withApp0)[1], 0xFE);
  EXPECT_EQ(SegmentMarkers(withApp0)[2], 0xDB);

  const std::string withDefault = ReadFile(out.File("opt_bare.jpg"));
  EXPECT_EQ(withDefault.substr(2, 18), TimgData::DefaultJfifHeader());
  EXPECT_EQ(SegmentMarkers(withDefault)[1], 0xDB);
}

TEST(OptiBatch, KeepsTheIccProfileAfterTheMetadata) {
  TempDir in, out;
  const std::string icc = std::string("ICC_PROFILE\0\x01\x01", 14) + std::string(200, 'p');
  const std::string photo = JpegBuilder().Soi().App1Exif(CameraExif(40, 30)).Segment(0xE2, icc).Bytes() +
                            CodedPicture(40, 30);
  RunOptiBatch({WriteFile(in.File("icc.jpg"), photo)}, Fixed(out.Path(), 10, 20));
  const std::string written = ReadFile(out.File("opt_icc.jpg"));
  const std::vector<int> markers = SegmentMarkers(written);
  EXPECT_EQ(std::vector<int>(markers.begin(), markers.begin() + 3), (std::vector<int>{0xE1, 0xE2, 0xDB}));
  EXPECT_NE(written.find(icc), std::string::npos);
}

// A damaged photo in the middle: the ones before it are written, it and the
// ones after it are not, an older file of its output name survives, and the
// message names it. The same with several workers running ahead.
TEST(OptiBatch, StopsAtTheFirstFailureKeepingEarlierOutputsOnly) {
  for (int jobs : {1, 3}) {
    SCOPED_TRACE(jobs);
    TempDir in, out;
    std::vector<std::string> sources;
    for (int i = 0; i < 6; ++i) {
      std::string bytes = CameraPhoto(64, 48, i + 1);
      if (i == 2) bytes.resize(bytes.size() * 2 / 3);  // truncated in its scan data
      sources.push_back(WriteFile(in.File("p" + std::to_string(i) + ".jpg"), bytes));
    }
    WriteFile(out.File("opt_p2.jpg"), "older file");
    std::vector<int> progress;
    try {
      RunOptiBatch(sources, Fixed(out.Path(), 30, 40, jobs), [&](int done, int total, const std::string&) {
        EXPECT_EQ(total, 6);
        progress.push_back(done);
      });
      FAIL() << "the damaged photo was accepted";
    } catch (const LumatrimError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("p2.jpg"), std::string::npos) << message;
      EXPECT_NE(message.find("3 of 6"), std::string::npos) << message;
    }
    EXPECT_EQ(progress, (std::vector<int>{1, 2}));
    EXPECT_TRUE(fs::exists(out.File("opt_p0.jpg")));
    EXPECT_TRUE(fs::exists(out.File("opt_p1.jpg")));
    EXPECT_EQ(ReadFile(out.File("opt_p2.jpg")), "older file");
    for (int i = 3; i < 6; ++i) EXPECT_FALSE(fs::exists(out.File("opt_p" + std::to_string(i) + ".jpg")));
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(out.Path())) files += entry.is_regular_file();
    EXPECT_EQ(files, 3u) << "no temporary files left behind";
  }
}

TEST(OptiBatch, NeverWritesOverASourcePhoto) {
  TempDir dir;
  const std::string original = CameraPhoto(40, 30, 5);
  const std::string a = WriteFile(dir.File("a.jpg"), CameraPhoto(40, 30));
  const std::string optA = WriteFile(dir.File("opt_a.jpg"), original);
  try {
    // a.jpg would be written to opt_a.jpg, which is the second source.
    RunOptiBatch({a, optA}, Fixed(dir.Path(), 10, 20));
    FAIL() << "a source was overwritten";
  } catch (const LumatrimError& e) {
    EXPECT_NE(std::string(e.what()).find("opt_a.jpg"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadFile(optA), original);
  EXPECT_FALSE(fs::exists(dir.File("opt_opt_a.jpg"))) << "photos after the failure are not written";

  SCOPED_TRACE("through a symbolic link to the target folder");
  TempDir other;
  fs::create_directory_symlink(dir.Path(), other.File("link"));
  EXPECT_THROW(RunOptiBatch({a, optA}, Fixed(other.File("link"), 10, 20)), LumatrimError);
  EXPECT_EQ(ReadFile(optA), original);
}

TEST(OptiBatch, RefusesBadSettingsBeforeWritingAnything) {
  TempDir in, out;
  const std::string a = WriteFile(in.File("a.jpg"), CameraPhoto(40, 30));
  EXPECT_THROW(RunOptiBatch({a}, Fixed(out.Path(), 0, 800)), LumatrimError);
  EXPECT_THROW(RunOptiBatch({a}, Fixed(out.Path(), 600, 0)), LumatrimError);
  EXPECT_THROW(RunOptiBatch({a}, Fixed("", 600, 800)), LumatrimError);
  EXPECT_TRUE(fs::is_empty(out.Path()));
  EXPECT_EQ(RunOptiBatch({}, Fixed(out.Path(), 600, 800)), 0) << "an empty list is a batch that did nothing";
  EXPECT_THROW(RunOptiBatch({a}, Fixed(out.File("missing"), 6, 8)), LumatrimError) << "missing target folder";
}

TEST(OptiBatch, CancelStopsBeforeTheNextWrite) {
  TempDir in, out;
  std::vector<std::string> sources;
  for (int i = 0; i < 4; ++i) sources.push_back(WriteFile(in.File(std::to_string(i) + ".jpg"), CameraPhoto(64, 48, i)));
  std::atomic<bool> cancel{false};
  const int written = RunOptiBatch(sources, Fixed(out.Path(), 30, 40, 2),
                                   [&](int done, int, const std::string&) { cancel = done == 2; }, &cancel);
  EXPECT_EQ(written, 2);
  EXPECT_TRUE(fs::exists(out.File("opt_1.jpg")));
  EXPECT_FALSE(fs::exists(out.File("opt_2.jpg")));
}

TEST(OptiBatch, CorpusPhotosComeOutAtTheRequestedSize) {
  const std::string corpus = CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  TempDir out;
  std::vector<std::string> sources;
  for (const auto& entry : fs::directory_iterator(corpus + "/photos")) {
    const std::string path = entry.path().string();
    if (entry.path().extension() != ".jpg") continue;
    try {
      JpegImage probe;
      probe.LoadFromFile(path);
      if (probe.Width() != probe.Height()) sources.push_back(path);
    } catch (const LumatrimError&) {
    }
    if (sources.size() == 8) break;
  }
  ASSERT_FALSE(sources.empty());
  EXPECT_EQ(RunOptiBatch(sources, Fixed(out.Path(), 60, 80, 2)), static_cast<int>(sources.size()));
  for (const std::string& s : sources) {
    JpegImage source;
    source.LoadFromFile(s);
    const auto size = SizeOf(out.File("opt_" + fs::path(s).filename().string()));
    EXPECT_EQ(size, source.Width() > source.Height() ? std::make_pair(80, 60) : std::make_pair(60, 80)) << s;
  }
}

std::string Exiftool(const std::string& args) {
  const std::string command = "exiftool -s -s -s " + args + " 2>/dev/null";
  std::string result;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) result += buffer;
    pclose(pipe);
  }
  return result;
}

TEST(OptiBatch, ExiftoolReadsTheSourceMetadataAndTheNewSize) {
  if (std::system("exiftool -ver >/dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool is not installed";
  TempDir in, out;
  RunOptiBatch({WriteFile(in.File("a.jpg"), CameraPhoto(300, 200))}, Fixed(out.Path(), 60, 80));
  const std::string file = " '" + out.File("opt_a.jpg") + "'";
  EXPECT_EQ(Exiftool("-Make -Model -DateTimeOriginal" + file), "Canon\nCanon EOS 5D\n2024:05:01 10:20:30\n");
  EXPECT_EQ(Exiftool("-ObjectName -Keywords -Comment" + file), "Karluv most\nPraha, most\nDovolena 2024\n");
  EXPECT_EQ(Exiftool("-ExifImageWidth -ExifImageHeight -ImageWidth -ImageHeight" + file), "80\n60\n80\n60\n");
  EXPECT_EQ(Exiftool("-EncodingProcess" + file), "Progressive DCT, Huffman coding\n");
}

}  // namespace
}  // namespace lumatrim::test
