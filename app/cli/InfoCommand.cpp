#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QString>

#include "cli/Commands.h"
#include "cli/InfoCzech.h"
#include "core/bytes/TextEncoding.h"
#include "core/photo/PhotoReader.h"
#include "core/heif/HeifImage.h"
#include "core/heif/HeifKind.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/Orientation.h"
#include "core/photo/PhotoEdits.h"

namespace cli {
namespace {

using lumatrim::PhotoMetadata;
using lumatrim::TagEntry;

// Text that is not UTF-8 is read in the code page chosen with --charset.
QString Text(const std::string& bytes) { return QString::fromStdString(lumatrim::DisplayUtf8(bytes)); }

// The user's decimal separator, as the windows show numbers.
char LocaleSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode()) : '.';
}

// Why a file cannot be read at all, or empty text when it can.
std::string ReadProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return "is a folder";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::strerror(errno);
  std::fclose(file);
  return {};
}

std::vector<std::string> XmpProblems(const lumatrim::XmpBlock& block);

// One photo read into a fresh container, so no file's output depends on another.
struct PhotoInfo {
  PhotoMetadata data;
  std::vector<TagEntry> thumbnail;
  std::vector<TagEntry> iptc;
  std::vector<std::vector<std::string>> iptcValues;  // per item, one text per dataset
  std::vector<lumatrim::XmpProperty> xmp;
  std::vector<std::string> xmpProblems;  // a damaged packet, extended chunks that do not join

  PhotoInfo(const std::string& path, char separator) : data(ReadPhotoMetadata(path, Options(separator))) {
    if (data.exif && data.ThumbnailPresent()) {
      data.ParseThumbnailDirectory();
      TagEntry entry;
      data.exif->ResetThumbTagCursor();
      while (data.exif->NextThumbTag(lumatrim::TagGroup::Standard, entry)) thumbnail.push_back(entry);
    }
    if (data.IptcPresent() && data.iptc) {
      iptc = data.iptc->ItemsInUse();
      for (int i = 0; i < data.iptc->Count(); ++i) iptcValues.push_back(data.iptc->DisplayValues(i));
    }
    if (data.xmp) {
      xmp = data.xmp->Properties();
      xmpProblems = XmpProblems(*data.xmp);
    }
  }
  static lumatrim::ReadOptions Options(char separator) {
    lumatrim::ReadOptions options;
    options.decimalSeparator = separator;
    return options;
  }
  const std::vector<TagEntry>& Tags() const {
    static const std::vector<TagEntry> none;
    return data.exif ? data.exif->TagList : none;
  }
};

std::vector<std::string> XmpProblems(const lumatrim::XmpBlock& block) {
  std::vector<std::string> problems;
  if (block.standard.damaged) problems.push_back("damaged XMP packet: " + block.standard.problem);
  if (!block.problem.empty()) problems.push_back(block.problem);
  if (block.extended.damaged) problems.push_back("damaged extended XMP packet: " + block.extended.problem);
  return problems;
}

QJsonObject TagJson(const TagEntry& entry) {
  return QJsonObject{{"group", entry.Group},
                     {"tag", entry.Tag},
                     {"name", Text(entry.Name)},
                     {"desc", Text(entry.Desc)},
                     {"value", Text(entry.Data)}};
}

QJsonArray TagsJson(const std::vector<TagEntry>& entries) {
  QJsonArray out;
  for (const TagEntry& entry : entries) out.append(TagJson(entry));
  return out;
}

// The stored picture's size: from the JPEG header, else (a TIFF, or a JPEG
// whose header cannot be read) from IFD0's or the EXIF sizes; 0 x 0 unknown.
std::pair<int, int> StoredSize(const std::string& path, const PhotoInfo& photo) {
  if (!(photo.data.exif && photo.data.exif->IsTiffFile)) {
    try {
      lumatrim::JpegImage image;
      image.LoadFromFile(path);
      return {image.Width(), image.Height()};
    } catch (const std::exception&) {
      // fall through to what the metadata says
    }
  }
  if (const auto& exif = photo.data.exif; exif && exif->ImageWidth > 0 && exif->ImageHeight > 0) {
    return {exif->ImageWidth, exif->ImageHeight};
  }
  return {0, 0};
}

// The picture as it is seen: its EXIF Orientation (1-8) and its size once
// that is applied; null when the size is not known.
void AddUpright(QJsonObject& out, const std::string& path, const PhotoInfo& photo) {
  const int orientation = lumatrim::PhotoOrientation(photo.data);
  out["orientation"] = orientation;
  if (lumatrim::IsHeifFile(path)) {
    // libheif's picture is upright already; its EXIF Orientation describes the stored one.
    try {
      lumatrim::HeifImage image;
      image.LoadFromFile(path);
      out["upright"] = QJsonArray{image.Width(), image.Height()};
    } catch (const std::exception&) {
      out["upright"] = QJsonValue::Null;
    }
    return;
  }
  const auto [width, height] = StoredSize(path, photo);
  if (width <= 0 || height <= 0) {
    out["upright"] = QJsonValue::Null;
    return;
  }
  const auto [uprightWidth, uprightHeight] =
      lumatrim::TransformedSize(width, height, lumatrim::UprightTransform(orientation));
  out["upright"] = QJsonArray{uprightWidth, uprightHeight};
}

// One file's object of `info --json`; new sections of a photo go here.
QJsonObject FileJson(const std::string& path, const PhotoInfo& photo) {
  QJsonObject out;
  out["file"] = QString::fromStdString(path);
  out["outcome"] = Text(photo.data.outcome.Text());
  AddUpright(out, path, photo);
  out["tags"] = TagsJson(photo.Tags());
  out["thumbnail"] = TagsJson(photo.thumbnail);
  QJsonArray iptc;
  for (size_t i = 0; i < photo.iptc.size(); ++i) {
    const TagEntry& item = photo.iptc[i];
    // The datasets one by one beside the comma text: a keyword holding a comma is one entry.
    QJsonArray values;
    for (const std::string& value : photo.iptcValues[i]) values.append(Text(value));
    iptc.append(QJsonObject{{"record", item.Record}, {"dataset", item.Tag}, {"name", Text(item.Name)},
                            {"desc", Text(item.Desc)}, {"value", Text(item.Data)}, {"values", values},
                            {"size", item.Size}});
  }
  out["iptc"] = iptc;
  // Photos without XMP keep the output they always had.
  if (photo.data.xmp) {
    QJsonArray xmp;
    for (const lumatrim::XmpProperty& property : photo.xmp) {
      QJsonArray values;
      for (const std::string& value : property.values) values.append(QString::fromStdString(value));
      xmp.append(QJsonObject{{"namespace", QString::fromStdString(property.namespaceUri)},
                             {"name", QString::fromStdString(property.name)},
                             {"value", QString::fromStdString(property.value)},
                             {"values", values}});
    }
    out["xmp"] = xmp;
    if (!photo.xmpProblems.empty()) {
      QJsonArray problems;
      for (const std::string& problem : photo.xmpProblems) problems.append(QString::fromStdString(problem));
      out["xmpProblems"] = problems;
    }
  }
  return out;
}

void PrintTag(const TagEntry& entry) {
  std::printf("%d\t0x%04X\t%s\t%s\t%s\n", entry.Group, entry.Tag, OneLine(entry.Name).c_str(),
              OneLine(entry.Desc).c_str(), OneLine(entry.Data).c_str());
}

// One file in the text form: a header, the outcome, the tags
// (group, tag, name, display name, value separated by tabs), the thumbnail's.
void PrintFileText(const std::string& path, const PhotoInfo& photo) {
  std::printf("== %s\n", OneLine(path).c_str());
  std::printf("outcome: %s\n", OneLine(photo.data.outcome.Text()).c_str());
  for (const TagEntry& entry : photo.Tags()) PrintTag(entry);
  if (!photo.thumbnail.empty()) {
    std::printf("thumbnail:\n");
    for (const TagEntry& entry : photo.thumbnail) PrintTag(entry);
  }
  if (!photo.iptc.empty()) {
    std::printf("iptc:\n");
    for (const TagEntry& item : photo.iptc) {
      std::printf("%d:%d\t%s\t%s\t%s\n", item.Record, item.Tag, OneLine(item.Name).c_str(), OneLine(item.Desc).c_str(),
                  OneLine(item.Data).c_str());
    }
  }
  if (photo.data.xmp) {
    std::printf("xmp:\n");
    for (const lumatrim::XmpProperty& property : photo.xmp) {
      std::printf("%s\t%s\t%s\n", OneLine(property.namespaceUri).c_str(), OneLine(property.name).c_str(),
                  OneLine(property.value).c_str());
    }
    for (const std::string& problem : photo.xmpProblems) std::printf("xmp problem: %s\n", OneLine(problem).c_str());
  }
  std::printf("\n");
}

constexpr const char* kInfoUsage = "usage: lumatrim-cli info [--json | --lang cs] FILE...\n";

}  // namespace

int RunInfo(int argc, char** argv) {
  bool json = false;
  bool czech = false;  // --lang cs: what the windows show
  bool optionsDone = false;
  std::vector<std::string> files;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!optionsDone && arg == "--json") json = true;
    else if (!optionsDone && (arg == "--lang" || arg.rfind("--lang=", 0) == 0)) {
      const std::string language = arg == "--lang" ? (i + 1 < argc ? argv[++i] : "") : arg.substr(7);
      if (language != "cs" && language != "en") {
        std::fprintf(stderr, "lumatrim-cli info: unknown language \"%s\" (cs or en)\n%s", language.c_str(), kInfoUsage);
        return 2;
      }
      czech = language == "cs";
    }
    else if (!optionsDone && arg == "--") optionsDone = true;
    else if (!optionsDone && arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "lumatrim-cli info: unknown option %s\n%s", arg.c_str(), kInfoUsage);
      return 2;
    } else files.push_back(arg);
  }
  if (files.empty() || (json && czech)) {
    if (json && czech) std::fputs("lumatrim-cli info: --lang cs prints text, not JSON\n", stderr);
    std::fputs(kInfoUsage, stderr);
    return 2;
  }

  const char separator = LocaleSeparator();
  int status = 0;
  QJsonArray all;
  for (const std::string& path : files) {
    if (const std::string problem = ReadProblem(path); !problem.empty()) {
      std::fflush(stdout);
      std::fprintf(stderr, "lumatrim-cli info: cannot read %s: %s\n", path.c_str(), problem.c_str());
      status = 1;
      continue;
    }
    const PhotoInfo photo(path, separator);
    if (json) all.append(FileJson(path, photo));
    else if (czech) PrintFileCzech(path, photo.data, photo.thumbnail);
    else PrintFileText(path, photo);
  }
  if (json) {
    const QByteArray text = QJsonDocument(all).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
  }
  std::fflush(stdout);
  return status;
}

}  // namespace cli
