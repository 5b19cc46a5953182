#include <gtest/gtest.h>

#include <filesystem>

#include "OptiPhotos.h"
#include "cli/Commands.h"

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

// 4:3 photos: only --short gives long = short + short / 3, only --long gives
// short = long - long / 4, both rounded to the nearest, ties to even.
TEST(OptimizeCommand, OneSideGivesTheOtherByTheFourToThreeRule) {
  TempDir in, out;
  const std::string a = WriteFile(in.File("a.jpg"), CameraPhoto(120, 90));
  const std::string b = WriteFile(in.File("b.jpg"), CameraPhoto(90, 120));
  const CliRun run = Optimize({"--out", out.Path(), "--short", "30", a, b});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(SizeOf(out.File("opt_a.jpg")), std::make_pair(40, 30));
  EXPECT_EQ(SizeOf(out.File("opt_b.jpg")), std::make_pair(30, 40));
  EXPECT_NE(run.errors.find("[2/2] " + out.File("opt_b.jpg")), std::string::npos) << "a line a photo off a terminal";
  const struct {
    std::vector<std::string> args;
    std::pair<int, int> size;
  } rows[] = {
      {{"--out=" + out.Path() + "/", "--long", "10", "--compression", "50", "--jobs", "2", a}, {10, 8}},  // 7.5 -> 8
      {{"--out", out.Path(), "--long", "6", a}, {6, 4}},                                                  // 4.5 -> 4
      {{"--out", out.Path(), "--short", "602", a}, {803, 602}},                                           // 802.67
      {{"--out", out.Path(), "--short", "20", "--long", "21", a}, {21, 20}},
      {{"--out", out.Path(), "--keep-size", a}, {120, 90}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args[1] + " " + row.args[2]);
    EXPECT_EQ(Optimize(row.args).status, 0);
    EXPECT_EQ(SizeOf(out.File("opt_a.jpg")), row.size);
  }
}

// One side alone fixes that side and the other follows each photo; both
// stretch every photo to exactly that size.
TEST(OptimizeCommand, OneSideKeepsEachPhotosProportionsBothSidesStretch) {
  TempDir in, out;
  const std::string wide = WriteFile(in.File("wide.jpg"), CameraPhoto(160, 90));
  const std::string tall = WriteFile(in.File("tall.jpg"), CameraPhoto(60, 90));
  const struct {
    std::vector<std::string> args;
    std::pair<int, int> wide, tall;
  } rows[] = {
      {{"--short", "30"}, {53, 30}, {30, 45}},
      {{"--long", "80"}, {80, 45}, {53, 80}},
      {{"--short", "30", "--long", "40"}, {40, 30}, {30, 40}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args[0] + " " + row.args[1] + (row.args.size() > 2 ? " " + row.args[2] : ""));
    std::vector<std::string> args = {"--out", out.Path()};
    args.insert(args.end(), row.args.begin(), row.args.end());
    args.insert(args.end(), {wide, tall});
    const CliRun run = Optimize(args);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(SizeOf(out.File("opt_wide.jpg")), row.wide);
    EXPECT_EQ(SizeOf(out.File("opt_tall.jpg")), row.tall);
  }
}

TEST(OptimizeCommand, ExitsWith2OnUsageErrorsAnd1OnAFailedPhoto) {
  TempDir in, out;
  const std::string a = WriteFile(in.File("a.jpg"), CameraPhoto(40, 30)), o = out.Path();
  const std::vector<std::string> cases[] = {
      {"--short", "30", a},                  {"--out", o, a},  // no --out, no size
      {"--out", o, "--short", "30"},         {"--out", o, "--short", "12.5", a},  // no photos, not whole
      {"--out", o, "--long", "0", a},        {"--out", o, "--keep-size", "--short", "3", a},
      {"--out", o, "--short", "30", "--compression", "101", a},
      {"--out", o, "--short", "30", "--jobs", "0", a},
      {"--out", o, "--shrot", "30", a},      {"--out", o, "--short"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args[args.size() > 2 ? 2 : 0]);
    const CliRun run = Optimize(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("usage:"), std::string::npos);
  }
  EXPECT_TRUE(std::filesystem::is_empty(o));
  SCOPED_TRACE("a photo that fails ends the run, named");
  const CliRun run = Optimize({"--out", o, "--short", "9", a, WriteFile(in.File("bad.jpg"), "not a photo"), a});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("bad.jpg"), std::string::npos) << run.errors;
  EXPECT_TRUE(std::filesystem::exists(out.File("opt_a.jpg")));
  EXPECT_FALSE(std::filesystem::exists(out.File("opt_bad.jpg")));
}

}  // namespace
}  // namespace lumatrim::test
