#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/exif/TiffType.h"

namespace lumatrim {

struct TagEntry;

// What a render function may use besides its input text: the decimal
// separator of numbers, the list derived items go to (the Canon functions
// split one record into several) and the flag that keeps the parent entry's
// value as rendered. It travels with the call instead of living in
// process-wide variables, so two photos can be parsed on two threads at once.
struct TagRenderContext {
  char DecimalSeparator = '\0';           // '\0': the global locale's
  std::vector<TagEntry>* Added = nullptr;  // none: derived items are dropped
  bool BlockRendered = false;
};

// Turns a value text into the display text.
using RenderFunction = std::string (*)(const std::string& value, TagRenderContext& context);

// One row of a vocabulary table (tag dictionary, GPS, maker tables, IPTC).
// Rows are constexpr data; an empty Desc is filled from Name when the tables
// are first used.
struct TagDefinition {
  uint16_t Record = 0;  // IPTC record number; 0 in EXIF, GPS and maker rows
  uint16_t Tag = 0;     // 0 marks the "Unknown" row
  const char* Name = "";
  const char* Desc = "";
  const char* DecodeList = "";
  const char* FormatString = "";
  RenderFunction RenderFunc = nullptr;
};

// One row of a table and, once filled by the parser, one parsed tag or IPTC
// item. Windows show Desc as the name and Data as the value.
struct TagEntry {
  int32_t Group = 0;        // a TagGroup: 0 standard tags, 1 maker-note and custom entries
  uint16_t FormatCode = 0;  // TIFF field type of the parsed value
  uint16_t Record = 0;
  uint16_t Tag = 0;
  std::string Name;
  std::string Desc;
  std::string DecodeList;
  std::string Data;         // rendered value text (bytes)
  std::string Raw;          // raw value bytes
  int32_t DataOffset = 0;   // of the value bytes in the parsed block
  std::string FormatString;
  int32_t Size = 0;         // byte length of Raw
  RenderFunction RenderFunc = nullptr;

  TagEntry() = default;
  explicit TagEntry(const TagDefinition& row)
      : Record(row.Record), Tag(row.Tag), Name(row.Name), Desc(row.Desc), DecodeList(row.DecodeList),
        FormatString(row.FormatString), RenderFunc(row.RenderFunc) {}
};

// A derived item (the maker group, no tag): its name is also its display name, its
// value both the raw bytes and the text.
inline TagEntry DerivedEntry(const std::string& name, const std::string& value, uint16_t formatCode) {
  TagEntry entry;
  entry.Group = static_cast<int32_t>(TagGroup::Maker);
  entry.Name = entry.Desc = name;
  entry.Data = entry.Raw = value;
  entry.Size = static_cast<int32_t>(value.size());
  entry.FormatCode = formatCode;
  return entry;
}

}  // namespace lumatrim
