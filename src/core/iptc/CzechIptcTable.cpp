#include "core/iptc/CzechIptcTable.h"

namespace lumatrim {

// clang-format off
constexpr CzechIptcRow CzechIptcTable[kIptcTagCount] = {
    {"SKIP",               "Verze záznamu"},
    {"ObjectType",         "Typ objektu"},
    {"ObjectAttr",         "Atribut objektu"},
    {"ObjectName",         "Titulek"},
    {"EditStatus",         "Stav úprav"},
    {"EditorialUpdate",    "Redakční aktualizace"},
    {"Urgency",            "Naléhavost"},
    {"SubRef",             "Odkaz na téma"},
    {"Category",           "Kategorie"},
    {"SuppCategory",       "Doplňkové kategorie"},
    {"FixtureID",          "Stálá rubrika"},
    {"Keywords",           "Klíčová slova"},
    {"ContentLocCode",     "Kód místa obsahu"},
    {"ContentLocName",     "Místo obsahu"},
    {"ReleaseDate",        "Datum uvolnění"},
    {"ReleaseTime",        "Čas uvolnění"},
    {"ExpireDate",         "Datum vypršení"},
    {"ExpireTime",         "Čas vypršení"},
    {"SpecialInstru",      "Pokyny"},
    {"ActionAdvised",      "Doporučená akce"},
    {"RefService",         "Odkazovaná služba"},
    {"RefDate",            "Odkazované datum"},
    {"RefNumber",          "Odkazované číslo"},
    {"DateCreated",        "Datum pořízení"},
    {"TimeCreated",        "Čas pořízení"},
    {"DigitizeDate",       "Datum digitalizace"},
    {"DigitizeTime",       "Čas digitalizace"},
    {"OriginatingProgram", "Program"},
    {"ProgramVersion",     "Verze programu"},
    {"ObjectCycle",        "Cyklus objektu"},
    {"ByLine",             "Autor"},
    {"ByLineTitle",        "Funkce autora"},
    {"City",               "Město"},
    {"SubLocation",        "Část obce"},
    {"State",              "Kraj"},
    {"LocationCode",       "Kód země"},
    {"LocationName",       "Země"},
    {"TransmissionRef",    "Číslo zakázky"},
    {"ImageHeadline",      "Nadpis"},
    {"ImageCredit",        "Poskytovatel"},
    {"Source",             "Zdroj"},
    {"Copyright",          "Copyright"},
    {"Contact",            "Kontakt"},
    {"ImageCaption",       "Popis"},
    {"ImageCaptionWriter", "Autor popisu"},
    {"ImageType",          "Typ obrázku"},
    {"Orientation",        "Orientace obrázku"},
    {"LangID",             "Jazyk"},
    {"Subfile",            "Podsoubor"},
};

constexpr const char* kFormItems[] = {
    "ObjectName", "ImageCaption", "Keywords", "ByLine", "Copyright", "Contact", "City", "SubLocation",
    "State", "LocationName", "LocationCode", "DateCreated", "Source", "ImageCredit", "SpecialInstru",
};
// clang-format on

std::span<const char* const> IptcFormItems() { return kFormItems; }

std::string CzechIptcLabel(const TagEntry& item) {
  const int row = TableIndexOf(item.Record, item.Tag);
  return row >= 0 && item.Name == IptcTagTable[row].Def.Name ? CzechIptcTable[row].Label : item.Desc;
}

std::vector<IptcLimitProblem> IptcLimitProblems(const TagEntry& item, const std::vector<std::string>& values) {
  std::vector<IptcLimitProblem> problems;
  if (item.Size <= 0) return problems;
  for (size_t k = 0; k < values.size(); ++k) {
    if (values[k].size() > static_cast<size_t>(item.Size)) problems.push_back({k, values[k].size(), item.Size});
  }
  return problems;
}

}  // namespace lumatrim
