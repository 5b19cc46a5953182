// The command-line verbs against an outside reader: what lumatrim-cli writes,
// exiftool reads back the same.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "core/exif/ImgData.h"
#include "core/jpeg/JpegImage.h"
#include "support/JpegBuilder.h"
#include "writer/WriterSupport.h"

using namespace lumatrim;
using namespace lumatrim::test;
namespace fs = std::filesystem;

namespace {

struct Result {
  int status = -1;
  std::string out;
};

std::string Quote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

Result RunCommand(const std::vector<std::string>& args) {
  std::string command;
  for (const std::string& arg : args) command += Quote(arg) + " ";
  Result result;
  FILE* pipe = ::popen((command + "2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

Result Cli(std::vector<std::string> args) {
  args.insert(args.begin(), LUMATRIM_CLI);
  return RunCommand(args);
}

bool HaveExiftool() { return RunCommand({"exiftool", "-ver"}).status == 0; }

// One tag's value as exiftool prints it, lists joined by "|".
std::string Exiftool(const std::string& tag, const std::string& path) {
  std::string out = RunCommand({"exiftool", "-s3", "-sep", "|", "-" + tag, path}).out;
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

std::string OurValue(const std::string& path, const std::string& name) {
  TimgData data;
  data.ReadPhoto(path);
  if (!data.IptcInfo) return "(no IPTC)";
  data.IptcInfo->ReadFromOwner();
  std::string value = data.IptcInfo->GetValue(name, "(missing)");
  for (char& c : value) c = c == ',' ? '|' : c;
  return value;
}

std::string Corpus(const std::string& name) {
  const std::string dir = CorpusDir();
  return dir.empty() ? "" : dir + "/photos/" + name;
}

}  // namespace

TEST(CliRoundTrip, IptcItemsAreReadBackByExiftool) {
  if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
  if (CorpusDir().empty()) GTEST_SKIP() << "no photo corpus on this machine";
  TempDir dir;
  for (const char* name : {"canon_iptc_comment_1.jpg", "nikon_d1x_gps_iptc_1.jpg", "fujifilm_gps_iptc_1.jpg",
                           "canon_eos_20d_1.jpg", "nomake_iptc_only_1.jpg", "olympus_progressive_comment_1.jpg",
                           "nomake_iptc_app13_begin_1.jpg"}) {
    SCOPED_TRACE(name);
    const std::string photo = WriteFile(dir.File(name), ReadFile(Corpus(name)));
    const Result run = Cli({"iptc", photo, "ObjectName=Praha – Karlův most", "Keywords=Vltava", "Keywords=most",
                            "City=Praha", "Copyright=© 2026 Jan Novák"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Exiftool("IPTC:ObjectName", photo), "Praha – Karlův most");
    EXPECT_EQ(Exiftool("IPTC:City", photo), "Praha");
    EXPECT_EQ(Exiftool("IPTC:CopyrightNotice", photo), "© 2026 Jan Novák");
    const std::string keywords = Exiftool("IPTC:Keywords", photo);
    EXPECT_EQ(keywords, OurValue(photo, "Keywords"));
    EXPECT_NE(("|" + keywords + "|").find("|Vltava|most|"), std::string::npos) << keywords;
    EXPECT_EQ(Exiftool("Warning", photo), "");
    JpegImage image;
    image.LoadFromFile(photo);
    EXPECT_NO_THROW(image.Decode(8));
  }
}

TEST(CliRoundTrip, StripLeavesNoBlockAndADecodablePhoto) {
  if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
  if (CorpusDir().empty()) GTEST_SKIP() << "no photo corpus on this machine";
  TempDir dir;
  for (const char* name : {"canon_eos_20d_1.jpg", "nikon_new_header_gps_1.jpg", "nomake_iptc_app13_begin_1.jpg",
                           "fujifilm_gps_iptc_1.jpg", "samsung_empty_iptc_gps_1.jpg"}) {
    SCOPED_TRACE(name);
    const std::string photo = WriteFile(dir.File(name), ReadFile(Corpus(name)));
    ASSERT_EQ(Cli({"strip", "exif", photo}).status, 0);
    EXPECT_EQ(RunCommand({"exiftool", "-s", "-EXIF:all", photo}).out, "") << "exiftool still finds EXIF";
    ASSERT_EQ(Cli({"strip", "iptc", photo}).status, 0);
    EXPECT_EQ(RunCommand({"exiftool", "-s", "-IPTC:all", photo}).out, "") << "exiftool still finds IPTC";
    JpegImage image;
    image.LoadFromFile(photo);
    EXPECT_NO_THROW(image.Decode());
  }
}

TEST(CliRoundTrip, UsageErrorsWriteNothing) {
  TempDir dir;
  const std::string bytes = JpegBuilder().Soi().Com("c").Dqt().Sos().Bytes();
  const std::string photo = WriteFile(dir.File("p.jpg"), bytes);
  EXPECT_EQ(Cli({"iptc", photo, "City=Praha", "NoSuchItem=x"}).status, 2);
  EXPECT_EQ(Cli({"iptc", photo, "City"}).status, 2);
  EXPECT_EQ(Cli({"iptc", photo}).status, 2);
  EXPECT_EQ(Cli({"strip", "xmp", photo}).status, 2);
  EXPECT_EQ(ReadFile(photo), bytes);
  EXPECT_EQ(Cli({"iptc", dir.File("missing.jpg"), "City=Praha"}).status, 1);
  EXPECT_EQ(Cli({"strip", "exif", dir.File("missing.jpg")}).status, 1);
  EXPECT_FALSE(fs::exists(dir.File("missing.jpg")));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.Path())) names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"p.jpg"});
}

TEST(CliRoundTrip, SamplePhotosCarryCameraMetadata) {
  TempDir dir;
  ASSERT_EQ(Cli({"make-samples", dir.Path()}).status, 0);
  int photos = 0, withoutMetadata = 0, makerNotes = 0, thumbnails = 0, gps = 0, iptc = 0, comments = 0;
  std::set<std::string> makes;
  for (const auto& entry : fs::directory_iterator(dir.Path())) {
    const std::string path = entry.path().string();
    SCOPED_TRACE(path);
    ++photos;
    JpegImage image;
    image.LoadFromFile(path);
    EXPECT_NO_THROW(image.Decode(8));
    EXPECT_LE(int64_t{image.Width()} * image.Height(), 3'000'000);
    TimgData data;
    if (!data.ReadPhoto(path)) {
      ++withoutMetadata;
      continue;
    }
    if (data.ExifInfo) {
      makes.insert(data.ExifInfo->CameraMake);
      int group1 = 0;
      for (const TTagEntry& tag : data.ExifInfo->TagList) group1 += tag.Group == 1 ? 1 : 0;
      makerNotes += group1 > 3 ? 1 : 0;
      data.ExifInfo->ParseThumbnailDirectory();  // the thumbnail's compression is known from here on
      if (std::unique_ptr<JpegImage> thumbnail = data.DecodeThumbnail()) {
        EXPECT_NO_THROW(thumbnail->Decode());
        ++thumbnails;
      }
      gps += data.ExifInfo->TagIndexByName("GPSLatitude") >= 0 ? 1 : 0;
      EXPECT_EQ(data.ExifInfo->ImageWidth, image.Width());
    }
    iptc += data.IptcPresent() ? 1 : 0;
    comments += data.CommentSection != 0 ? 1 : 0;
  }
  EXPECT_GE(photos, 8);
  EXPECT_LE(photos, 12);
  EXPECT_EQ(withoutMetadata, 1);
  EXPECT_GE(makes.size(), 4u);
  EXPECT_GE(makerNotes, 4);
  EXPECT_GE(thumbnails, 4);
  EXPECT_GE(gps, 2);
  EXPECT_GE(iptc, 3);
  EXPECT_GE(comments, 2);

  SCOPED_TRACE("a second run finds the set complete");
  const Result again = Cli({"make-samples", dir.Path()});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out.rfind("0 sample photos made", 0), 0u) << again.out;
}

TEST(CliRoundTrip, InfoListsTheIptcItems) {
  TempDir dir;
  const std::string photo = WriteFile(dir.File("p.jpg"), EncodedJpeg(16, 16));
  ASSERT_EQ(Cli({"iptc", photo, "City=Plzeň", "Keywords=a b"}).status, 0);
  const Result json = Cli({"info", "--json", photo});
  ASSERT_EQ(json.status, 0);
  for (const char* expected : {"\"iptc\": [", "\"record\": 2", "\"dataset\": 90", "\"name\": \"City\"",
                               "\"desc\": \"City\"", "\"value\": \"Plzeň\"", "\"size\": 32", "\"dataset\": 25",
                               "\"value\": \"a,b\""}) {
    EXPECT_NE(json.out.find(expected), std::string::npos) << expected << " in\n" << json.out;
  }
  const Result text = Cli({"info", photo});
  EXPECT_NE(text.out.find("iptc:\n2:90\tCity\tCity\tPlzeň\n"), std::string::npos) << text.out;
}
