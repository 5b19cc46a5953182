#include "core/exif/TagTables.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <mutex>

namespace lumatrim {
namespace {

struct DescCache {
  std::string main[kMainTagRows];
  std::string gps[kGpsTagRows];
};

DescCache& Cache() {
  static DescCache cache;
  return cache;
}
std::once_flag initOnce;

void FillDescs(const TagDefinition* rows, int count, std::string* out, bool spaced) {
  for (int i = 0; i < count; ++i) {
    const std::string own = rows[i].Desc;
    out[i] = !own.empty() ? own : spaced ? SpaceOutName(rows[i].Name) : std::string(rows[i].Name);
  }
}

template <size_t N>
int IndexIn(const TagDefinition (&table)[N], const TagDefinition& row) {
  // Compare addresses through std::less: they may belong to different arrays.
  std::less<const TagDefinition*> before;
  if (before(&row, table) || !before(&row, table + N)) return -1;
  return static_cast<int>(&row - table);
}

bool SameIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != 0; ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y && std::tolower(x) != std::tolower(y)) return false;
  }
  return i == a.size() && b[i] == 0;
}

}  // namespace

void InitTagTables(bool spaced) {
  static_assert(kMainUnknownRow == kMainTagRows - 1);
  std::call_once(initOnce, [spaced] {
    FillDescs(MainTagTable, kMainTagRows, Cache().main, spaced);
    FillDescs(GpsTagTable, kGpsTagRows, Cache().gps, spaced);
  });
}

std::string SpaceOutName(const std::string& name) {
  if (name.empty()) return {};
  std::string out(1, name[0]);
  bool afterCapital = true;
  for (size_t i = 1; i < name.size(); ++i) {
    const char c = name[i];
    if (c >= 'A' && c <= 'Z') {
      if (!afterCapital) out += ' ';
      afterCapital = true;
    } else {
      afterCapital = false;
    }
    out += c;
  }
  return out;
}

std::string RowDesc(const TagDefinition& row) {
  if (row.Desc[0] != 0) return row.Desc;
  InitTagTables(true);
  if (int i = IndexIn(MainTagTable, row); i >= 0) return Cache().main[i];
  if (int i = IndexIn(GpsTagTable, row); i >= 0) return Cache().gps[i];
  return row.Name;
}

TagEntry EntryFromRow(const TagDefinition& row) {
  TagEntry entry(row);
  if (entry.Desc.empty()) entry.Desc = RowDesc(row);
  return entry;
}

TagEntry LookupTagDef(int tag, DirectoryKind kind) {
  const TagDefinition* found = &MainTagTable[kMainUnknownRow];
  if (kind == DirectoryKind::Main || kind == DirectoryKind::Thumbnail) {
    const TagDefinition* end = MainTagTable + kMainUnknownRow;
    const TagDefinition* it = std::lower_bound(MainTagTable, end, tag,
                                         [](const TagDefinition& row, int t) { return row.Tag < t; });
    if (it != end && it->Tag == tag) found = it;
  } else if (kind == DirectoryKind::Gps) {
    if (tag >= 0 && tag < kGpsTagRows && GpsTagTable[tag].Tag == tag) found = &GpsTagTable[tag];
  }
  return EntryFromRow(*found);
}

bool IsUnknownRow(const TagEntry& entry) {
  const TagDefinition& unknown = MainTagTable[kMainUnknownRow];
  return entry.Tag == unknown.Tag && entry.Name == unknown.Name;
}

int FindTableRow(int tag, std::span<const TagDefinition> table) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].Tag == tag) return static_cast<int>(i);
  return -1;
}

int MainRowByName(const std::string& name) {
  for (int i = 0; i < kMainUnknownRow; ++i)
    if (SameIgnoringCase(name, MainTagTable[i].Name)) return i;
  return -1;
}

}  // namespace lumatrim
