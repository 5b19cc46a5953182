// The Czech tables against the dictionaries they translate: every row of
// every dictionary has its Czech row, and every code of an English decode
// list its Czech text.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/exif/CzechTagTable.h"
#include "core/exif/TagRender.h"
#include "core/iptc/CzechIptcTable.h"
#include "core/makernotes/CanonRender.h"
#include "core/makernotes/CzechMakerTables.h"
#include "core/makernotes/MakerTables.h"

using namespace lumatrim;

namespace {

// The codes of a decode list ("1:Normal,3:Rotated 180°").
std::set<std::string> Codes(const std::string& list) {
  std::set<std::string> codes;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string item = list.substr(start, end - start);
    if (const size_t colon = item.find(':'); colon != std::string::npos) {
      std::string code = item.substr(0, colon);
      code.erase(0, code.find_first_not_of(' '));
      codes.insert(code);
    }
    start = end + 1;
  }
  return codes;
}

bool IsSkip(const TagDefinition& row) {
  std::string name = row.Name;
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name == "skip";
}

}  // namespace

TEST(CzechTables, everyDictionaryRowHasItsCzechRow) {
  struct Dictionary {
    const char* name;
    const TagDefinition* english;
    const CzechTagRow* czech;
    int rows;
  };
  for (const Dictionary& d : {Dictionary{"main", MainTagTable, CzechMainTagTable, kMainTagRows},
                              Dictionary{"GPS", GpsTagTable, CzechGpsTagTable, kGpsTagRows}}) {
    for (int i = 0; i < d.rows; ++i) {
      SCOPED_TRACE(std::string(d.name) + " row " + d.english[i].Name);
      EXPECT_EQ(d.czech[i].Tag, d.english[i].Tag) << "rows stay side by side";
      EXPECT_STRNE(d.czech[i].Name, "");
      for (const std::string& code : Codes(d.english[i].DecodeList))
        EXPECT_FALSE(DecodeValue(d.czech[i].DecodeList, code).empty()) << "code " << code;
      if (d.czech[i].Format == CzechFormat::Decoded) EXPECT_STRNE(d.czech[i].DecodeList, "");
    }
  }

  std::vector<std::string> makerNames = CanonDerivedLabels();
  for (const MakerTable table : {NikonTable, NikonOldTable, OlympusTable, CasioTable, CasioQvcTable, FujiTable,
                                 CanonTable, SeikoTable, SanyoTable, MinoltaTable}) {
    for (const TagDefinition& row : table)
      if (!IsSkip(row)) makerNames.push_back(row.Desc);
  }
  for (const std::string& name : makerNames) EXPECT_NE(FindCzechMakerName(name), nullptr) << "maker row " << name;
  for (const CzechValueWord& word : CzechValueWords()) EXPECT_EQ(CzechMakerValue(word.English), word.Czech);

  for (int i = 0; i < kIptcTagCount; ++i) {
    EXPECT_STREQ(CzechIptcTable[i].Name, IptcTagTable[i].Def.Name) << "IPTC row " << i;
    EXPECT_STRNE(CzechIptcTable[i].Label, "") << IptcTagTable[i].Def.Name;
  }
  for (const char* name : IptcFormItems()) EXPECT_GE(TableIndexOfName(name), 0) << "form item " << name;
}
