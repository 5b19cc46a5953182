// XMP through the command-line verbs, judged by exiftool: kept, following
// the picture, without a position after a GPS removal, in step with IPTC.
#include <gtest/gtest.h>

#include <sstream>

#include "photo/WriterSupport.h"
#include "support/ExiftoolCheck.h"
#include "support/JpegBuilder.h"

using namespace lumatrim::test;

namespace {

std::string Cli(const std::string& arguments) { return RunCommand(std::string(LUMATRIM_CLI) + " " + arguments + " 2>&1"); }

// exiftool's XMP lines of each file (one run for all), minus those whose
// text holds any of the leftOut words.
std::vector<std::string> XmpLinesOf(const std::vector<std::string>& paths, const std::vector<std::string>& leftOut = {}) {
  std::string arguments;
  for (const std::string& path : paths) arguments += " " + QuotedForShell(path);
  std::istringstream all(RunCommand("exiftool -a -G1 -s -XMP:all" + std::string(paths.size() > 1 ? "" : " -q") + arguments));
  std::vector<std::string> files;
  for (std::string line; std::getline(all, line);) {
    if (line.rfind("======== ", 0) == 0 || files.empty()) files.emplace_back();
    bool skip = line.rfind("======== ", 0) == 0 || line.find("image files read") != std::string::npos ||
                line.find("HasExtendedXMP") != std::string::npos;  // a digest of the extended packet
    for (const std::string& word : leftOut) skip = skip || line.find(word) != std::string::npos;
    if (!skip) files.back() += line + "\n";
  }
  files.resize(paths.size());
  return files;
}

std::string XmpLines(const std::string& path, const std::vector<std::string>& leftOut = {}) {
  return XmpLinesOf({path}, leftOut).front();
}

// A small photo whose XMP exiftool wrote: a position, a city, and (large)
// a description that goes into the extended packet.
std::string XmpPhoto(const TempDir& dir, const std::string& name, bool large) {
  const std::string path = WriteFile(dir.File(name), EncodedJpeg(64, 48));
  const std::string description = dir.File(name + ".txt");
  WriteFile(description, std::string(large ? 70000 : 20, 'x'));
  RunCommand("exiftool -q -overwrite_original -XMP:GPSLatitude=50.08 -XMP:GPSLongitude=14.42 -XMP:City=Praha "
             "-XMP-tiff:Orientation#=6 -XMP-exif:ExifImageWidth=64 '-XMP-dc:Description<=" + description + "' " +
             QuotedForShell(path));
  return path;
}

}  // namespace

TEST(XmpCli, OptimisedCorpusPhotosKeepTheirXmpButThePictureProperties) {
  if (!ExiftoolInstalled()) GTEST_SKIP() << "exiftool is not installed";
  if (CorpusDir().empty()) GTEST_SKIP() << "no photo corpus on this machine";
  TempDir dir;
  const std::vector<std::string> withXmp = {
      "canon_eos_rp_gps_iptc_xmp_1.jpg", "canon_gps_iptc_bigendian_1.jpg", "fujifilm_many_segments_iptc_comment_1.jpg",
      "nikon_d1x_gps_iptc_1.jpg", "nikon_new_header_exif0210_progressive_1.jpg", "nikon_new_header_gps_2.jpg",
      "nomake_app13_without_iptc_1.jpg", "nomake_exifoffset_wrong_type_1.jpg", "nomake_iptc_app13_begin_1.jpg",
      "nomake_iptc_two_app13_1.jpg", "nomake_xmp_app1_only_1.jpg", "samsung_empty_iptc_gps_1.jpg"};
  std::vector<std::string> sources, outputs;
  for (const std::string& name : withXmp) {
    sources.push_back(CorpusDir() + "/photos/" + name);
    outputs.push_back(dir.File("opt_" + name));
  }
  std::string arguments;
  for (const std::string& source : sources) arguments += " " + QuotedForShell(source);
  Cli("optimize --short 120 --out " + QuotedForShell(dir.Path()) + arguments);
  const std::vector<std::string> pictureProperties = {"ExifImageWidth", "ExifImageHeight", "ImageWidth",
                                                      "ImageHeight", "Orientation", "Thumbnail"};
  const std::vector<std::string> before = XmpLinesOf(sources, pictureProperties);
  const std::vector<std::string> after = XmpLinesOf(outputs, pictureProperties);
  for (size_t i = 0; i < withXmp.size(); ++i) {
    SCOPED_TRACE(withXmp[i]);
    EXPECT_NE(before[i], "");
    EXPECT_EQ(after[i], before[i]);
  }
}

TEST(XmpCli, EveryGpsRemovalLeavesNoPositionAndTheRestAsItWas) {
  if (!ExiftoolInstalled()) GTEST_SKIP() << "exiftool is not installed";
  TempDir dir;
  const std::string stripped = XmpPhoto(dir, "strip.jpg", false), batch = XmpPhoto(dir, "batch.jpg", false);
  const std::string before = XmpLines(stripped, {"GPS"});
  ASSERT_NE(XmpLines(stripped), before) << "exiftool wrote the position";
  EXPECT_EQ(Cli("strip gps " + QuotedForShell(stripped)), stripped + ": GPS removed (XMP)\n");
  EXPECT_NE(Cli("optimize --keep-size --no-gps --out " + QuotedForShell(dir.Path()) + " " + QuotedForShell(batch))
                .find("GPS position also removed from the XMP of 1 photo"),
            std::string::npos);
  for (const std::string& path : {stripped, dir.File("opt_batch.jpg")}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(RunCommand("exiftool -a -s -gps:all -xmp:GPS* " + QuotedForShell(path)), "");
    // The batch turns the picture upright: the orientation is the output's.
    EXPECT_EQ(XmpLines(path, {"Orientation"}), XmpLines(stripped, {"GPS", "Orientation"}));
  }
  EXPECT_EQ(XmpLines(stripped), before);
}

TEST(XmpCli, ExtendedXmpKeepsEveryPropertyThroughEachVerb) {
  if (!ExiftoolInstalled()) GTEST_SKIP() << "exiftool is not installed";
  TempDir dir;
  const std::string source = XmpPhoto(dir, "large.jpg", true);
  ASSERT_NE(XmpLines(source).find("xxxxxxxxxx"), std::string::npos);
  const std::vector<std::string> changing = {"Orientation", "City", "GPS", "ExifImageWidth"};
  const std::string kept = XmpLines(source, changing);
  ASSERT_NE(RunCommand("exiftool -v2 " + QuotedForShell(source)).find("HasExtendedXMP"), std::string::npos);
  const struct {
    const char* verb;
    const char* expected;  // a line the verb must leave in the XMP
  } rows[] = {
      {"iptc FILE City=Brno", "City                            : Brno"},
      {"strip gps FILE", "Description"},
      {"rotate right FILE", "Orientation                     : Horizontal (normal)"},
      {"optimize --keep-size --out DIR FILE", "ExifImageWidth                  : 64"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.verb);
    std::string verb = row.verb;
    const std::string photo = WriteFile(dir.File("photo.jpg"), ReadFile(source));
    verb.replace(verb.find("FILE"), 4, QuotedForShell(photo));
    if (const size_t at = verb.find("DIR"); at != std::string::npos) verb.replace(at, 3, QuotedForShell(dir.Path()));
    Cli(verb);
    const std::string result = verb.rfind("optimize", 0) == 0 ? dir.File("opt_photo.jpg") : photo;
    EXPECT_EQ(XmpLines(result, changing), kept);
    EXPECT_NE(XmpLines(result).find(row.expected), std::string::npos) << XmpLines(result);
    EXPECT_EQ(RunCommand("exiftool -validate -warning -a -s3 " + QuotedForShell(result)), "OK\n") << "no warning";
  }
}
