#include "cli/InfoCzech.h"

#include <sys/stat.h>

#include <cstdio>

#include "core/bytes/TextEncoding.h"
#include "core/exif/CzechTags.h"
#include "core/iptc/CzechIptcTable.h"
#include "core/iptc/KeywordList.h"
#include "core/exif/CzechValues.h"

namespace cli {
namespace {

using lumatrim::CzechTagText;
using lumatrim::TagEntry;

// The captions of the main window's summary, row for row.
constexpr const char* kSummaryCaptions[lumatrim::kSummaryRows] = {
    "Fotoaparát", "Model", "Kvalita", "Blesk", "Ohnisko", "Expozice",
    "Clona",      "Citlivost", "Program", "Měření", "Software", "Vytvořeno"};

void PrintRow(const std::string& name, const std::string& value) {
  std::printf("%s\t%s\n", OneLine(name).c_str(), OneLine(value).c_str());
}

void PrintSection(const char* title, const std::vector<CzechTagText>& rows) {
  if (rows.empty()) return;
  std::printf("%s:\n", title);
  for (const CzechTagText& row : rows) PrintRow(row.Name, row.Value);
}

std::string FileDate(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return "---";
  return lumatrim::CzechFileTime(info.st_mtime) + " (datum souboru)";
}

}  // namespace

std::string OneLine(const std::string& bytes) {
  std::string out = lumatrim::DisplayUtf8(bytes);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  return out;
}

void PrintFileCzech(const std::string& path, const lumatrim::PhotoMetadata& photo,
                    const std::vector<TagEntry>& thumbnail) {
  std::printf("== %s\n", OneLine(path).c_str());
  std::printf("výsledek čtení: %s\n", OneLine(photo.outcome.Text()).c_str());
  std::vector<CzechTagText> general, maker, technical, thumbnailRows;
  if (photo.exif) {
    const lumatrim::ExifData& exif = *photo.exif;
    const lumatrim::CzechSummary summary = lumatrim::MakeCzechSummary(exif);
    std::printf("souhrn:\n");
    for (int row = 0; row < lumatrim::kSummaryRows; ++row) {
      const bool fileDate = row == lumatrim::kSummaryDateRow && summary.Created == lumatrim::DateSource::None;
      PrintRow(kSummaryCaptions[row], fileDate ? FileDate(path) : summary.Values[row]);
    }
    if (const auto position = lumatrim::MakeCzechPosition(exif)) {
      PrintRow("Poloha", position->Text);
      PrintRow("Zobrazit na mapě", position->MapUrl);
    }
    for (const TagEntry& entry : exif.TagList) {
      const CzechTagText text = lumatrim::CzechTag(entry, exif.BigEndian());
      if (text.Technical) technical.push_back(text);
      else if (entry.Group == static_cast<int32_t>(lumatrim::TagGroup::Maker)) maker.push_back(text);
      else general.push_back(text);
    }
    for (const TagEntry& entry : thumbnail) thumbnailRows.push_back(lumatrim::CzechTag(entry, exif.BigEndian()));
  } else {
    std::printf("souhrn:\n");
    PrintRow(kSummaryCaptions[lumatrim::kSummaryDateRow], FileDate(path));
  }
  PrintSection("obecná data", general);
  PrintSection("specifická data výrobce", maker);
  PrintSection("data miniatury", thumbnailRows);
  PrintSection("technické údaje", technical);
  if (photo.IptcPresent() && photo.iptc && photo.iptc->Count() > 0) {
    std::printf("iptc:\n");
    for (int i = 0; i < photo.iptc->Count(); ++i) {
      const TagEntry item = photo.iptc->GetItem(i);
      PrintRow(lumatrim::CzechIptcLabel(item), lumatrim::WriteKeywordList(photo.iptc->DisplayValues(i)));
    }
  }
  std::printf("\n");
}

}  // namespace cli
