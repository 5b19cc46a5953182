#pragma once
#include <span>
#include <string>
#include <vector>

#include "core/exif/TagEntry.h"
#include "core/iptc/IptcTagTable.h"

namespace lumatrim {

// The Czech label of each IptcTagTable row, row for row (the key name is
// repeated so the pairing can be checked).
struct CzechIptcRow {
  const char* Name;
  const char* Label;
};

extern const CzechIptcRow CzechIptcTable[kIptcTagCount];

// The items a photographer fills, in the order the IPTC form offers them.
std::span<const char* const> IptcFormItems();

// The Czech label of an item (its English display name for a custom one).
std::string CzechIptcLabel(const TagEntry& item);

// A value longer than its dataset may be: value k (in the order given) has
// Bytes bytes where the standard allows Limit.
struct IptcLimitProblem {
  size_t Index;
  size_t Bytes;
  int Limit;
};

// The values of an item (UTF-8, as they will be written) that break its
// dataset's length limit (the item's Size).
std::vector<IptcLimitProblem> IptcLimitProblems(const TagEntry& item, const std::vector<std::string>& values);

}  // namespace lumatrim
