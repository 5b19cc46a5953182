#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "OptimizePhotos.h"
#include "cli/Commands.h"
#include "core/photo/PhotoReader.h"

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
      {{"--out", out.Path(), "--short", "602", "--allow-enlarge", a}, {803, 602}},                        // 802.67
      {{"--out", out.Path(), "--short", "20", "--long", "21", a}, {21, 20}},
      {{"--out", out.Path(), "--keep-size", a}, {120, 90}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args[1] + " " + row.args[2]);
    std::vector<std::string> args = row.args;
    args.insert(args.begin(), "--existing=overwrite");
    EXPECT_EQ(Optimize(args).status, 0);
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
    std::vector<std::string> args = {"--out", out.Path(), "--existing", "overwrite"};
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
  SCOPED_TRACE("a photo that fails is named and the run goes on");
  const CliRun run = Optimize({"--out", o, "--short", "9", a, WriteFile(in.File("bad.jpg"), "not a photo"), a});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("[2/3] failed: "), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("bad.jpg"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("2 of 3 photos written, 1 failed"), std::string::npos) << run.errors;
  EXPECT_TRUE(std::filesystem::exists(out.File("opt_a.jpg")));
  EXPECT_TRUE(std::filesystem::exists(out.File("opt_a-2.jpg"))) << "the same photo twice: two names";
  EXPECT_FALSE(std::filesystem::exists(out.File("opt_bad.jpg")));
}

// SIGINT part way: the photos written so far stay, complete; no temporary
// file is left; the status says the run was interrupted.
TEST(OptimizeCommand, InterruptStopsCleanly) {
  TempDir in, out;
  std::vector<std::string> args = {"--out", out.Path(), "--keep-size", "--jobs", "1"};
  for (int i = 0; i < 60; ++i) args.push_back(WriteFile(in.File(std::to_string(i) + ".jpg"), CameraPhoto(320, 240, i)));
  // A signal that comes after the run must not end the test program.
  struct sigaction quiet {}, old {};
  quiet.sa_handler = [](int) {};
  sigaction(SIGINT, &quiet, &old);
  std::atomic<bool> stop{false};
  std::thread interrupter([&] {
    while (!stop && std::filesystem::is_empty(out.Path())) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!stop) kill(getpid(), SIGINT);
  });
  const CliRun run = Optimize(args);
  stop = true;
  interrupter.join();
  sigaction(SIGINT, &old, nullptr);
  EXPECT_EQ(run.status, 128 + SIGINT) << run.errors;
  EXPECT_NE(run.errors.find("stopped;"), std::string::npos) << run.errors;
  size_t outputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out.Path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.rfind("opt_", 0), 0u) << "left behind: " << name;
    EXPECT_EQ(SizeOf(entry.path().string()), std::make_pair(320, 240)) << name;
    ++outputs;
  }
  EXPECT_GE(outputs, 1u);
  EXPECT_LT(outputs, 60u);
}

TEST(OptimizeCommand, NoGpsLeavesThePositionOut) {
  TempDir in, out;
  Ifd gps;
  gps.Ascii(0x0001, "N").Rational(0x0002, {{50, 1}, {5, 1}, {30, 1}});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").SubIfd(0x8825, gps);
  const std::string photo = WriteFile(
      in.File("g.jpg"), JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Intel).Bytes(ifd0)).Bytes() + CodedPicture(40, 30));
  ASSERT_EQ(Optimize({"--out", out.Path(), "--keep-size", "--no-gps", photo}).status, 0);
  const PhotoMetadata meta = ReadPhotoMetadata(out.File("opt_g.jpg"));
  ASSERT_TRUE(meta.MetadataPresent() && meta.exif);
  EXPECT_EQ(meta.exif->TagValueByName("Make"), "Canon");
  EXPECT_EQ(meta.exif->TagValueByName("GPSLatitudeRef"), "");
}

// Folders with their tree, a small photo kept small, a second run that
// skips, names from the date taken, and the e-mail preset.
TEST(OptimizeCommand, SharesWithoutSurprises) {
  TempDir in, out;
  for (const char* path : {"a.jpg", "2015/b.jpg", "2015/zima/c.jpg"}) {
    std::filesystem::create_directories(std::filesystem::path(in.File(path)).parent_path());
    WriteFile(in.File(path), CameraPhoto(640, 480));
  }
  CliRun run = Optimize({"--out", out.Path(), "--recursive", "--long", "1280", in.Path()});
  ASSERT_EQ(run.status, 0) << run.errors;
  for (const char* path : {"opt_a.jpg", "2015/opt_b.jpg", "2015/zima/opt_c.jpg"}) {
    EXPECT_EQ(SizeOf(out.File(path)), std::make_pair(640, 480)) << path;
  }
  run = Optimize({"--out", out.Path(), "--recursive", "--long", "1280", "--existing", "skip", in.Path()});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.errors.find("0 of 3 photos written (0 copied unchanged: not smaller), 3 skipped"), std::string::npos)
      << run.errors;
  EXPECT_EQ(Optimize({"--out", out.Path(), "--long", "1280", in.File("a.jpg")}).status, 0);
  EXPECT_TRUE(std::filesystem::exists(out.File("opt_a-2.jpg"))) << "numbered past the old file by default";

  TempDir named;
  run = Optimize({"--out", named.Path(), "--keep-size", "--name", "{datum}_{pořadí:3}", in.File("a.jpg"),
                  in.File("2015/b.jpg")});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_TRUE(std::filesystem::exists(named.File("2024-05-01_001.jpg")));
  EXPECT_TRUE(std::filesystem::exists(named.File("2024-05-01_002.jpg")));
  EXPECT_EQ(Optimize({"--out", named.Path(), "--keep-size", "--name", "{jméno}", in.File("a.jpg")}).status, 2);

  TempDir mail;
  // "Tisk" keeps a fixed quality: the automatic search of a second preset would only slow the test.
  const std::string large = WriteFile(in.File("velka.jpg"), CameraPhoto(1400, 1050));
  run = Optimize({"--out", mail.Path(), "--preset", "E-mail", "--preset", "tisk 13 × 18", large});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(SizeOf(mail.File("e-mail/opt_velka.jpg")), std::make_pair(1280, 960));
  EXPECT_EQ(SizeOf(mail.File("tisk/opt_velka.jpg")), std::make_pair(1400, 1050));
  EXPECT_EQ(Optimize({"--out", mail.Path(), "--preset", "Fax", large}).status, 2);
  EXPECT_EQ(Optimize({"--out", mail.Path(), "--preset", "E-mail", "--preset", "E-MAIL", large}).status, 2) << "one subfolder";
}

}  // namespace
}  // namespace lumatrim::test

namespace lumatrim::test {
namespace {

// The quality options: one at a time, a target the batch can read, and a
// photo that cannot fit reported in the exit status and on stderr.
TEST(OptimizeCommand, QualityTargetsAsOptions) {
  TempDir in, out;
  const std::string a = WriteFile(in.File("a.jpg"), CameraPhoto(160, 120));
  const struct {
    std::vector<std::string> options;
    int status;
    const char* said;  // on stderr
  } rows[] = {
      {{"--max-size", "40k"}, 0, ""},
      {{"--max-size=2k"}, 1, "failed"},
      {{"--auto-quality", "80"}, 0, ""},
      {{"--max-size", "0"}, 2, "file size"},
      {{"--auto-quality", "101"}, 2, "quality score"},
      {{"--max-size", "40k", "--auto-quality", "80"}, 0, ""},  // a ceiling on the automatic result
      {{"--max-size", "1M", "--auto-quality", "80", "--compression", "5"}, 2, "cannot be combined"},
      {{"--compression", "10", "--max-size", "1M"}, 2, "cannot be combined"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.options[0] + (row.options.size() > 1 ? " " + row.options[1] : ""));
    std::vector<std::string> args = {"--out", out.Path(), "--keep-size"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    args.push_back(a);
    const CliRun run = Optimize(args);
    EXPECT_EQ(run.status, row.status) << run.errors;
    EXPECT_NE(run.errors.find(row.said), std::string::npos) << run.errors;
    if (row.options[0] == "--max-size" && row.status == 0) {
      EXPECT_LE(std::filesystem::file_size(out.File("opt_a.jpg")), 40u * 1024);
    }
  }
}

}  // namespace
}  // namespace lumatrim::test
