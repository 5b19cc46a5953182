#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "OptiPhotos.h"
#include "cli/Commands.h"
#include "core/jpeg/JpegImage.h"

namespace lumatrim::test {
namespace {

struct CliRun {
  int status;
  std::string errors;
};

CliRun Optimize(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStderr();
  const int status = cli::RunOptimize(static_cast<int>(argv.size()), argv.data());
  return {status, testing::internal::GetCapturedStderr()};
}

std::pair<int, int> SizeOf(const std::string& path) {
  JpegImage image;
  image.LoadFromFile(path);
  return {image.Width(), image.Height()};
}

TEST(OptimizeCommand, OneSideGivesTheOtherByTheFourToThreeRule) {
  TempDir in, out;
  const std::string a = WriteFile(in.File("a.jpg"), CameraPhoto(120, 90));
  const std::string b = WriteFile(in.File("b.jpg"), CameraPhoto(90, 120));

  CliRun run = Optimize({"--out", out.Path(), "--short", "30", a, b});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(SizeOf(out.File("opt_a.jpg")), std::make_pair(40, 30));
  EXPECT_EQ(SizeOf(out.File("opt_b.jpg")), std::make_pair(30, 40));
  EXPECT_NE(run.errors.find("[2/2] " + out.File("opt_b.jpg")), std::string::npos) << "one line per photo off a terminal";

  EXPECT_EQ(Optimize({"--out=" + out.Path(), "--long", "10", "--compression", "50", "--jobs", "2", a}).status, 0);
  EXPECT_EQ(SizeOf(out.File("opt_a.jpg")), std::make_pair(10, 8));  // 10 - 2.5 -> 8

  EXPECT_EQ(Optimize({"--out", out.Path(), "--short", "20", "--long", "21", a}).status, 0);
  EXPECT_EQ(SizeOf(out.File("opt_a.jpg")), std::make_pair(21, 20));

  EXPECT_EQ(Optimize({"--out", out.Path(), "--keep-size", b}).status, 0);
  EXPECT_EQ(SizeOf(out.File("opt_b.jpg")), std::make_pair(90, 120));
}

TEST(OptimizeCommand, UsageErrorsExitWith2AndWriteNothing) {
  TempDir in, out;
  const std::string a = WriteFile(in.File("a.jpg"), CameraPhoto(40, 30));
  const std::vector<std::vector<std::string>> cases = {
      {"--short", "30", a},                                 // no --out
      {"--out", out.Path(), a},                             // no size
      {"--out", out.Path(), "--short", "30"},               // no photos
      {"--out", out.Path(), "--short", "12.5", a},          // not whole
      {"--out", out.Path(), "--long", "0", a},              // below 1 px
      {"--out", out.Path(), "--keep-size", "--short", "3", a},
      {"--out", out.Path(), "--short", "30", "--compression", "101", a},
      {"--out", out.Path(), "--short", "30", "--jobs", "0", a},
      {"--out", out.Path(), "--shrot", "30", a},
      {"--out", out.Path(), "--short"},
  };
  for (const auto& args : cases) {
    const CliRun run = Optimize(args);
    EXPECT_EQ(run.status, 2) << args[args.size() > 2 ? 2 : 0];
    EXPECT_NE(run.errors.find("usage:"), std::string::npos);
  }
  EXPECT_TRUE(std::filesystem::is_empty(out.Path()));
}

TEST(OptimizeCommand, AFailedPhotoExitsWith1NamingIt) {
  TempDir in, out;
  const std::string good = WriteFile(in.File("good.jpg"), CameraPhoto(40, 30));
  const std::string bad = WriteFile(in.File("bad.jpg"), "not a photo");
  const CliRun run = Optimize({"--out", out.Path(), "--short", "9", good, bad, good});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("bad.jpg"), std::string::npos) << run.errors;
  EXPECT_TRUE(std::filesystem::exists(out.File("opt_good.jpg")));
  EXPECT_FALSE(std::filesystem::exists(out.File("opt_bad.jpg")));
}

}  // namespace
}  // namespace lumatrim::test
