// IPTC items of the corpus photos against exiftool's reading of them.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bytes/TextEncoding.h"
#include "core/exif/ImgData.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using namespace lumatrim::test;
namespace fs = std::filesystem;

namespace {

// The string value of "key" in exiftool's JSON, or nullopt when absent (or
// not a plain string, or holding an escape we do not decode).
std::optional<std::string> JsonString(const std::string& json, const std::string& key) {
  const size_t at = json.find("\"" + key + "\": \"");
  if (at == std::string::npos) return std::nullopt;
  std::string value;
  for (size_t i = at + key.size() + 5; i < json.size(); ++i) {
    const char c = json[i];
    if (c == '"') return value;
    if (c != '\\') {
      value += c;
      continue;
    }
    const char e = json[++i];
    if (e == 'n') value += '\n';
    else if (e == 'r') value += '\r';
    else if (e == 't') value += '\t';
    else if (e == '"' || e == '\\' || e == '/') value += e;
    else return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

TEST(IptcCorpus, ItemsMatchTheExiftoolReference) {
  const std::string corpus = CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no photo corpus on this machine";
  // Our key name and exiftool's, for the free-text datasets it prints as stored.
  const std::pair<const char*, const char*> fields[] = {
      {"ObjectName", "IPTC:ObjectName"},        {"City", "IPTC:City"},
      {"ByLine", "IPTC:By-line"},                {"ByLineTitle", "IPTC:By-lineTitle"},
      {"ImageCredit", "IPTC:Credit"},            {"Source", "IPTC:Source"},
      {"Copyright", "IPTC:CopyrightNotice"},     {"ImageCaption", "IPTC:Caption-Abstract"},
      {"ImageHeadline", "IPTC:Headline"},        {"State", "IPTC:Province-State"},
      {"LocationName", "IPTC:Country-PrimaryLocationName"}, {"Category", "IPTC:Category"},
      {"ImageCaptionWriter", "IPTC:Writer-Editor"}};
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(corpus + "/photos")) {
    if (entry.path().extension() != ".jpg") continue;
    const std::string json = ReadFile(corpus + "/reference/" + entry.path().filename().string() + ".json");
    if (json.find("\"IPTC:") == std::string::npos) continue;
    SCOPED_TRACE(entry.path().filename().string());
    TimgData data;
    data.ReadPhoto(entry.path().string());
    if (!data.IptcInfo) continue;  // an APP13 past the twentieth segment is not scanned
    data.IptcInfo->ReadFromOwner();
    for (const auto& [ours, theirs] : fields) {
      const std::optional<std::string> expected = JsonString(json, theirs);
      if (!expected) continue;
      const std::string got = DisplayUtf8(data.IptcInfo->GetValue(ours, "(missing)"));
      EXPECT_EQ(got, *expected) << ours;
      ++compared;
    }
  }
  EXPECT_GE(compared, 40);
}
