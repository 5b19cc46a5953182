#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "exif/RefJson.h"
#include "support/JpegBuilder.h"
#include "support/OrientedPhotos.h"
#include "support/TiffBuilder.h"

using namespace lumatrim::test;

namespace {

struct CliRun {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs lumatrim-cli with the given arguments and locale.
CliRun Cli(const TempDir& dir, const std::string& args, const std::string& locale = "C") {
  const std::string out = dir.File("stdout.txt"), err = dir.File("stderr.txt");
  const std::string command = "LC_ALL=" + locale + " LANG=" + locale + " " + Quote(LUMATRIM_CLI_PATH) + " " + args +
                              " >" + Quote(out) + " 2>" + Quote(err);
  CliRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFile(out);
  run.err = ReadFile(err);
  return run;
}

std::string Photo(const std::string& make, uint32_t fNumberTenths) {
  Ifd exif;
  exif.Rational(0x829D, {{fNumberTenths, 10}}).Rational(0x829A, {{1, 200}});
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Thumbnail(std::string("\xFF\xD8\xFF\xDB", 4) + std::string(300, 't') + "\xFF\xD9");
  Ifd ifd0;
  ifd0.Ascii(0x010F, make).SubIfd(0x8769, exif).Next(ifd1);
  return JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Motorola).Bytes(ifd0)).Dqt().Sos().Bytes();
}

}  // namespace

TEST(InfoCommand, usageErrorsExitWith2) {
  TempDir dir;
  EXPECT_EQ(Cli(dir, "info").status, 2);
  EXPECT_EQ(Cli(dir, "info --json").status, 2);
  const CliRun bad = Cli(dir, "info --xml a.jpg");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("--xml"), std::string::npos);
}

TEST(InfoCommand, textOutputOfOnePhoto) {
  TempDir dir;
  const std::string a = WriteFile(dir.File("a.jpg"), Photo("Canon", 56));
  const CliRun run = Cli(dir, "info " + Quote(a));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("== " + a + "\noutcome: <none>\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("0\t0x010F\tMake\tMake\tCanon\n"), std::string::npos);
  EXPECT_NE(run.out.find("0\t0x829D\tFNumber\tFNumber\tF5.6\n"), std::string::npos);
  EXPECT_NE(run.out.find("0\t0x829A\tExposureTime\tExposure Time\t1/200 sec\n"), std::string::npos);
  EXPECT_NE(run.out.find("thumbnail:\n0\t0x0103\tCompression\tCompression\tJpeg\n"), std::string::npos);
}

TEST(InfoCommand, numbersFollowTheUsersLocale) {
  TempDir dir;
  const std::string a = WriteFile(dir.File("a.jpg"), Photo("Canon", 56));
  EXPECT_NE(Cli(dir, "info " + Quote(a), "cs_CZ.UTF-8").out.find("\tF5,6\n"), std::string::npos);
}

TEST(InfoCommand, latin1ValuesAreShownAsUtf8) {
  TempDir dir;
  const std::string a = WriteFile(dir.File("a.jpg"), Photo("Caf\xE9", 28));
  const std::string b = WriteFile(dir.File("b.jpg"), Photo("Caf\xC3\xA9", 28));
  const CliRun run = Cli(dir, "info --json " + Quote(a) + " " + Quote(b));
  const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
  ASSERT_EQ(files.size(), 2);
  for (const auto& file : files)
    EXPECT_EQ(file.toObject()["tags"].toArray()[0].toObject()["value"].toString(), QString::fromUtf8("Café"));
}

TEST(InfoCommand, missingFilesAreNamedAndTheOthersStillPrinted) {
  TempDir dir;
  const std::string a = WriteFile(dir.File("a.jpg"), Photo("Canon", 56));
  const std::string missing = dir.File("missing.jpg");
  const CliRun run = Cli(dir, "info " + Quote(missing) + " " + Quote(a));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(missing), std::string::npos);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "one line per missing file";
  EXPECT_NE(run.out.find("Canon"), std::string::npos);

  const CliRun json = Cli(dir, "info --json " + Quote(a) + " " + Quote(missing) + " " + Quote(dir.Path()));
  EXPECT_EQ(json.status, 1);
  const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
  ASSERT_EQ(files.size(), 1);
  EXPECT_EQ(files[0].toObject()["file"].toString().toStdString(), a);
}

TEST(InfoCommand, notAPhotoIsAnOutcomeNotAFailure) {
  TempDir dir;
  const std::string text = WriteFile(dir.File("notes.txt"), "hello");
  const CliRun run = Cli(dir, "info --json " + Quote(text));
  EXPECT_EQ(run.status, 0);
  const QJsonObject file = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array()[0].toObject();
  EXPECT_EQ(file["outcome"].toString(), "Not an EXIF file");
  EXPECT_TRUE(file["tags"].toArray().isEmpty());
  EXPECT_TRUE(file["thumbnail"].toArray().isEmpty());
}

TEST(InfoCommand, oneFilesOutputDoesNotDependOnTheFilesBefore) {
  TempDir dir;
  const std::string a = WriteFile(dir.File("a.jpg"), Photo("Canon", 56));
  const std::string b = WriteFile(dir.File("b.jpg"), Photo("Nikon", 28));
  const std::string alone = Cli(dir, "info " + Quote(b)).out;
  const std::string after = Cli(dir, "info " + Quote(a) + " " + Quote(b)).out;
  ASSERT_GE(after.size(), alone.size());
  EXPECT_EQ(after.substr(after.size() - alone.size()), alone);

  const QJsonArray single = QJsonDocument::fromJson(QByteArray::fromStdString(Cli(dir, "info --json " + Quote(b)).out)).array();
  const QJsonArray pair =
      QJsonDocument::fromJson(QByteArray::fromStdString(Cli(dir, "info --json " + Quote(a) + " " + Quote(b)).out)).array();
  ASSERT_EQ(pair.size(), 2);
  EXPECT_EQ(pair[1], single[0]);
  const QJsonObject tag = single[0].toObject()["tags"].toArray()[0].toObject();
  EXPECT_EQ(tag["group"].toInt(), 0);
  EXPECT_EQ(tag["tag"].toInt(), 0x010F);
  EXPECT_EQ(tag["name"].toString(), "Make");
  EXPECT_EQ(tag["desc"].toString(), "Make");
  EXPECT_EQ(tag["value"].toString(), "Nikon");
}

// Each file says how its picture is seen: the EXIF Orientation and the size
// once that is applied.
TEST(InfoCommand, orientationAndUprightSizeOfEachFile) {
  TempDir dir;
  const lumatrim::Bitmap upright = LandmarkPicture(64, 48);
  const struct {
    const char* name;
    std::string bytes;
    int orientation;
    QJsonValue size;
  } cases[] = {
      {"stored for a clockwise turn", OrientedPhoto(upright, 6), 6, QJsonArray{64, 48}},
      {"stored mirrored", OrientedPhoto(upright, 2), 2, QJsonArray{64, 48}},
      {"stored along the other diagonal", OrientedPhoto(upright, 7, {.order = Order::Motorola}), 7, QJsonArray{64, 48}},
      {"no EXIF", EncodedJpeg(StoredFor(upright, 8)), 1, QJsonArray{48, 64}},
      {"not a photo", "hello", 1, QJsonValue::Null},
  };
  std::string args = "info --json";
  for (size_t i = 0; i < std::size(cases); ++i) args += " " + Quote(WriteFile(dir.File(std::to_string(i) + ".jpg"), cases[i].bytes));
  const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(Cli(dir, args).out)).array();
  ASSERT_EQ(files.size(), static_cast<qsizetype>(std::size(cases)));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    const QJsonObject file = files[static_cast<qsizetype>(i)].toObject();
    EXPECT_EQ(file["orientation"].toInt(), cases[i].orientation);
    EXPECT_EQ(file["upright"], cases[i].size);
  }
}

// The corpus against exiftool's reference readings: every photo with a GPS
// version has it listed, and a JPEG named .nef and a TIFF whose EXIF directory
// lies past its first 256 KB give the camera and exposure exiftool gives.
TEST(InfoCommand, corpusPhotosListWhatExiftoolFinds) {
  const std::string corpus = CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no photo corpus on this machine";
  TempDir dir;
  std::string args = "info --json";
  for (const auto& item : std::filesystem::directory_iterator(corpus + "/photos")) args += " " + Quote(item.path().string());
  const CliRun run = Cli(dir, args);
  ASSERT_EQ(run.status, 0) << run.err;
  const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
  ASSERT_GT(files.size(), 70);

  int gpsPhotos = 0;
  for (const auto& fileValue : files) {
    const QJsonObject file = fileValue.toObject();
    const std::string name = std::filesystem::path(file["file"].toString().toStdString()).filename().string();
    SCOPED_TRACE(name);
    std::map<std::string, std::string> ours;  // the first entry of each name
    for (const auto& tag : file["tags"].toArray())
      ours.emplace(tag.toObject()["name"].toString().toStdString(), tag.toObject()["value"].toString().toStdString());
    const std::string printed = ReadFile(corpus + "/reference/" + name + ".json");
    const std::string numeric = ReadFile(corpus + "/reference/" + name + ".num.json");

    if (const auto version = RefJson(printed, "GPS:GPSVersionID")) {
      ++gpsPhotos;
      std::string dotted = ours["GPSVersionID"];  // "2, 2, 0, 0" where exiftool says "2.2.0.0"
      for (size_t at; (at = dotted.find(", ")) != std::string::npos;) dotted.replace(at, 2, ".");
      EXPECT_EQ(dotted, version->text);
    }
    if (name != "nikon_jpeg_named_nef_1.nef" && name != "nikon_d1x_tiff_exif_beyond_256k_1.tiff") continue;
    EXPECT_EQ(ours["Make"], RefJson(numeric, "IFD0:Make").value_or(RefValue{}).text);
    EXPECT_EQ(ours["Model"], RefJson(numeric, "IFD0:Model").value_or(RefValue{}).text);
    // "1/125 sec" and "F5.0" against exiftool's plain numbers.
    const std::string exposure = ours["ExposureTime"], fNumber = ours["FNumber"];
    const size_t slash = exposure.find('/');
    ASSERT_TRUE(slash != std::string::npos && fNumber.rfind("F", 0) == 0) << exposure << " " << fNumber;
    const double ourExposure = std::stod(exposure.substr(0, slash)) / std::stod(exposure.substr(slash + 1));
    EXPECT_NEAR(ourExposure, std::stod(RefJson(numeric, "ExifIFD:ExposureTime").value_or(RefValue{"0", false}).text),
                1e-9);
    EXPECT_NEAR(std::stod(fNumber.substr(1)),
                std::stod(RefJson(numeric, "ExifIFD:FNumber").value_or(RefValue{"0", false}).text), 1e-9);
  }
  EXPECT_GE(gpsPhotos, 8);
}

// `info --lang cs` on the corpus: the summary tags in Czech wherever the
// English output has them, "Vytvořeno" and "Datum pořízení" from
// DateTimeOriginal even where the last edit's DateTime differs.
TEST(InfoCommand, czechOutputOfTheCorpusShowsTheDateTaken) {
  const std::string corpus = CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no photo corpus on this machine";
  TempDir dir;
  std::string files;
  for (const auto& item : std::filesystem::directory_iterator(corpus + "/photos")) files += " " + Quote(item.path().string());
  const CliRun english = Cli(dir, "info --json" + files);
  const CliRun czech = Cli(dir, "info --lang cs" + files);
  ASSERT_EQ(czech.status, 0) << czech.err;
  std::map<std::string, std::string> sections;  // file name -> its Czech text
  for (size_t at = czech.out.find("== "); at != std::string::npos;) {
    const size_t next = czech.out.find("\n== ", at);
    const std::string section = czech.out.substr(at, next == std::string::npos ? std::string::npos : next + 1 - at);
    sections[std::filesystem::path(section.substr(3, section.find('\n') - 3)).filename().string()] = section;
    at = next == std::string::npos ? next : next + 1;
  }
  const auto czechDate = [](const std::string& exif) {  // "2015:02:09 10:00:05" -> "9. 2. 2015 10:00:05"
    return std::to_string(std::stoi(exif.substr(8, 2))) + ". " + std::to_string(std::stoi(exif.substr(5, 2))) + ". " +
           exif.substr(0, 4) + exif.substr(10);
  };
  int dated = 0, differing = 0;
  for (const auto& fileValue : QJsonDocument::fromJson(QByteArray::fromStdString(english.out)).array()) {
    const QJsonObject file = fileValue.toObject();
    const std::string name = std::filesystem::path(file["file"].toString().toStdString()).filename().string();
    SCOPED_TRACE(name);
    std::map<std::string, std::string> tags;
    for (const auto& tag : file["tags"].toArray())
      tags.emplace(tag.toObject()["name"].toString().toStdString(), tag.toObject()["value"].toString().toStdString());
    const std::string& text = sections[name];
    ASSERT_FALSE(text.empty());
    const std::pair<const char*, const char*> shown[] = {
        {"ExposureTime", "\nExpoziční čas\t"}, {"FNumber", "\nClona\tf/"}, {"ISOSpeedRatings", "\nCitlivost ISO\tISO "},
        {"FocalLength", "\nOhnisková vzdálenost\t"}, {"Flash", "\nBlesk\t"}, {"MeteringMode", "\nRežim měření\t"}};
    for (const auto& [tag, line] : shown)
      if (tags.count(tag)) EXPECT_NE(text.find(line), std::string::npos) << tag;
    const std::string original = tags.count("DateTimeOriginal") ? tags["DateTimeOriginal"] : "";
    if (original.size() < 19 || original.compare(0, 4, "0000") == 0 || original[4] != ':') continue;
    ++dated;
    differing += tags.count("DateTime") && tags["DateTime"] != original;
    EXPECT_NE(text.find("\nDatum pořízení\t" + czechDate(original) + "\n"), std::string::npos);
    EXPECT_NE(text.find("\nVytvořeno\t" + czechDate(original)), std::string::npos);
  }
  EXPECT_GT(dated, 20);
  EXPECT_GT(differing, 0) << "some photo was edited after it was taken";
}
