#pragma once
#include <span>
#include <string>

#include "core/exif/TagEntry.h"

namespace lumatrim {

// Directory kinds: which table a directory's tags are looked up in and which
// list its entries go to.
enum class DirectoryKind {
  Main,       // IFD0, EXIF sub-IFD, interoperability IFD, SubIFDs
  Gps,        // GPS IFD
  Thumbnail,  // IFD1, into the thumbnail list
};

inline constexpr int kMainTagRows = 251;
inline constexpr int kMainUnknownRow = 250;  // Tag 0, "Unknown"
inline constexpr int kGpsTagRows = 31;

// The tag dictionaries (constexpr data in MainTagTable.cpp / GpsTagTable.cpp).
extern const TagDefinition MainTagTable[kMainTagRows];
extern const TagDefinition GpsTagTable[kGpsTagRows];

// Lookups by tag use binary search, so the dictionaries must stay in tag order.
constexpr bool RowsInTagOrder(const TagDefinition* rows, int count) {
  for (int i = 1; i < count; ++i)
    if (rows[i - 1].Tag >= rows[i].Tag) return false;
  return true;
}

// Fills the display names of the rows without one, once per process (later
// calls do nothing, whatever `spaced` says). Thread-safe.
void InitTagTables(bool spaced = true);

// "ExposureTime" -> "Exposure Time", "ISOSpeedRatings" -> "ISOSpeed Ratings".
std::string SpaceOutName(const std::string& name);

// Display name of a row: its own Desc, or for a row of MainTagTable or
// GpsTagTable without one, the name filled by InitTagTables (run on demand).
std::string RowDesc(const TagDefinition& row);

// A parsed-entry template of a row, with the display name filled.
TagEntry EntryFromRow(const TagDefinition& row);

// The dictionary row of a tag for a directory kind, or the "Unknown" row.
TagEntry LookupTagDef(int tag, DirectoryKind kind);

// True for the row LookupTagDef gives for a tag no dictionary holds. (Tag 0
// alone does not tell: GPSVersionID and some maker rows have tag number 0.)
bool IsUnknownRow(const TagEntry& entry);

// Index of the first row of any table whose Tag equals tag, or -1.
int FindTableRow(int tag, std::span<const TagDefinition> table);

// Index of the first of MainTagTable rows 0..249 whose Name equals name
// ignoring letter case, or -1.
int MainRowByName(const std::string& name);

}  // namespace lumatrim
