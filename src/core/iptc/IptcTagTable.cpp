#include "core/iptc/IptcTagTable.h"

#include <cctype>

namespace lumatrim {

// Record:dataset, key name, display name, maximum size. The record-version
// row is named SKIP: it is written by the builder itself, never kept as an item.
constexpr IptcTagDefinition IptcTagTable[kIptcTagCount] = {
    {{2,   0, "SKIP",               "Record Version"},                  64},
    {{2,   3, "ObjectType",         "Object Type Ref"},                 67},
    {{2,   4, "ObjectAttr",         "Object Attribute Ref"},            67},
    {{2,   5, "ObjectName",         "Object name"},                     64},
    {{2,   7, "EditStatus",         "Edit Status"},                     64},
    {{2,   8, "EditorialUpdate",    "Editorial Update"},                 2},
    {{2,  10, "Urgency",            "Urgency"},                          1},
    {{2,  12, "SubRef",             "Subject Reference"},              236},
    {{2,  15, "Category",           "Category"},                         3},
    {{2,  20, "SuppCategory",       "Supplemental category"},           32},
    {{2,  22, "FixtureID",          "Fixture ID"},                      32},
    {{2,  25, "Keywords",           "Keywords"},                        64},
    {{2,  26, "ContentLocCode",     "Content Location Code"},            3},
    {{2,  27, "ContentLocName",     "Content Location Name"},           64},
    {{2,  30, "ReleaseDate",        "Release Date"},                     8},
    {{2,  35, "ReleaseTime",        "Release Time"},                    11},
    {{2,  37, "ExpireDate",         "Expiration Date"},                  8},
    {{2,  38, "ExpireTime",         "Expiration Time"},                 11},
    {{2,  40, "SpecialInstru",      "Special Instructions"},           256},
    {{2,  42, "ActionAdvised",      "Action Advised"},                   2},
    {{2,  45, "RefService",         "Reference Service"},               10},
    {{2,  47, "RefDate",            "Reference Date"},                   8},
    {{2,  50, "RefNumber",          "Reference Number"},                 8},
    {{2,  55, "DateCreated",        "Date created"},                     8},
    {{2,  60, "TimeCreated",        "Time created"},                    11},
    {{2,  62, "DigitizeDate",       "Digital Creation Date"},            8},
    {{2,  63, "DigitizeTime",       "Digital Creation Time"},           11},
    {{2,  65, "OriginatingProgram", "Originating Program"},             32},
    {{2,  70, "ProgramVersion",     "Program version"},                 10},
    {{2,  75, "ObjectCycle",        "Object Cycle"},                     1},
    {{2,  80, "ByLine",             "ByLine"},                          32},
    {{2,  85, "ByLineTitle",        "ByLine Title"},                    32},
    {{2,  90, "City",               "City"},                            32},
    {{2,  92, "SubLocation",        "Sublocation"},                     32},
    {{2,  95, "State",              "Province/State"},                  32},
    {{2, 100, "LocationCode",       "Country/Primary Location Code"},    3},
    {{2, 101, "LocationName",       "Country/Primary Location Name"},   64},
    {{2, 103, "TransmissionRef",    "Original Transmission Reference"}, 32},
    {{2, 105, "ImageHeadline",      "Image headline"},                 256},
    {{2, 110, "ImageCredit",        "Image credit"},                    32},
    {{2, 115, "Source",             "Source"},                          32},
    {{2, 116, "Copyright",          "Copyright Notice"},               128},
    {{2, 118, "Contact",            "Contact"},                        128},
    {{2, 120, "ImageCaption",       "Image caption"},                 2000},
    {{2, 122, "ImageCaptionWriter", "Image caption writer"},            32},
    {{2, 130, "ImageType",          "Image type"},                       2},
    {{2, 131, "Orientation",        "Image Orientation"},                1},
    {{2, 135, "LangID",             "Language ID"},                      3},
    {{8,  10, "Subfile",            "Subfile"},                          2},
};

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

int TableIndexOfName(const std::string& name) {
  for (int r = 0; r < kIptcTagCount; ++r) {
    if (SameNameIgnoringCase(IptcTagTable[r].Def.Name, name)) return r;
  }
  return -1;
}

int TableIndexOf(int record, int dataset) {
  for (int r = 0; r < kIptcTagCount; ++r) {
    if (IptcTagTable[r].Def.Record == record && IptcTagTable[r].Def.Tag == dataset) return r;
  }
  return -1;
}

TagEntry IptcItemFromRow(int r) {
  TagEntry item(IptcTagTable[r].Def);
  item.Size = IptcTagTable[r].Size;
  return item;
}

bool IsRepeatableDataset(int record, int dataset) { return record == 2 && (dataset == 20 || dataset == 25); }

}  // namespace lumatrim
