#pragma once
#include <cstdint>
#include <string>

#include "core/exif/TagEntry.h"

namespace lumatrim {

// One IPTC dataset row: the common row fields plus the dataset's maximum
// length in bytes, which is shown to the user but never enforced.
struct IptcTagDefinition {
  TagDefinition Def;
  int32_t Size = 64;
};

inline constexpr int kIptcTagCount = 49;
extern const IptcTagDefinition IptcTagTable[kIptcTagCount];

// Size given to datasets the table does not know.
inline constexpr int32_t kIptcCustomSize = 64;

// Index of the first row whose Name equals name ignoring letter case, or -1.
int TableIndexOfName(const std::string& name);
// Index of the first row of that record and dataset number, or -1.
int TableIndexOf(int record, int dataset);
// An item made from row r (Record, Tag, Name, Desc, Size), with an empty value.
TagEntry IptcItemFromRow(int r);

// Keywords (2:25) and SuppCategory (2:20) may occur many times; all
// occurrences are held in one item, one value each.
bool IsRepeatableDataset(int record, int dataset);

// Letter case is ignored by every key-name lookup.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace lumatrim
