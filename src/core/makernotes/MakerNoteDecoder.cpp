#include "core/makernotes/MakerNoteDecoder.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "core/exif/IfdEntry.h"
#include "core/exif/TagRender.h"
#include "core/exif/TagTables.h"
#include "core/exif/TiffType.h"

namespace lumatrim {
namespace {

std::string Quoted(std::string_view raw, bool toFirstZero) {
  const size_t end = toFirstZero ? raw.find('\0') : std::string_view::npos;
  return "\"" + std::string(raw.substr(0, end)) + "\"";
}

bool IsSkipRow(const TagDefinition& def) {
  std::string name = RowDesc(def);
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
  return name == "SKIP";
}

std::string ValueText(std::string_view raw, uint16_t type, const TagDefinition& def, ByteOrder order, char separator) {
  if (IsType(type, TiffType::Ascii)) return Quoted(raw, true);
  if (IsType(type, TiffType::Undefined)) return Quoted(raw, false);
  try {
    return RenderValue(std::string(raw), type, def.DecodeList, def.FormatString, order == ByteOrder::BigEndian,
                       separator ? separator : DefaultDecimalSeparator());
  } catch (const std::exception&) {
    return Quoted(raw, false);  // a table's format that does not suit the value
  }
}

}  // namespace

MakerNoteEntries WalkMakerDirectory(const MakerNoteSource& source, const MakerLayout& layout) {
  MakerNoteEntries result;
  result.supported = true;
  const ByteView note(source.facts.note, layout.LittleEndian ? ByteOrder::LittleEndian : source.exif.Order());
  const IfdReader directory(note, layout.DirOffset);
  try {
    const int64_t count = std::min<int64_t>(directory.CountField(), directory.EntriesInView());
    for (int64_t i = 0; i < count; ++i) {
      const IfdEntry entry = directory.Entry(i, layout.ValueOrigin);
      const int row = FindTableRow(entry.tag, layout.Table);
      if (row < 0) continue;  // unmatched entries are not stored
      const TagDefinition& def = layout.Table[static_cast<size_t>(row)];
      if (IsSkipRow(def)) continue;

      const auto size = static_cast<int64_t>(std::min<uint64_t>(entry.byteCount, INT64_MAX / 4));
      const std::string raw = note.Contains(entry.valueOffset, size)
                                  ? note.Copy(entry.valueOffset, size)
                                  : source.exif.Copy(source.noteOffset + entry.valueOffset, size);
      std::string value = ValueText(raw, entry.type, def, note.Order(), source.decimalSeparator);
      TagRenderContext context{source.decimalSeparator, &result.entries};
      std::string display = def.RenderFunc ? def.RenderFunc(value, context) : Printable(value);
      TagEntry parsed = EntryFromRow(def);
      if (IsUnknownRow(parsed)) continue;  // the dictionary's "Unknown" row names nothing
      parsed.Data = context.BlockRendered ? std::move(value) : std::move(display);
      parsed.Raw = std::string(raw);
      parsed.FormatCode = entry.type;
      parsed.Group = static_cast<int32_t>(TagGroup::Maker);
      result.entries.push_back(std::move(parsed));
    }
  } catch (const std::exception& error) {
    result.failure = ReadOutcome::Error(error.what());
  }
  return result;
}

MakerNoteEntries DecodeMakerNote(const MakerNoteSource& source) {
  const std::optional<MakerLayout> layout = ChooseMakerLayout(source.facts);
  if (!layout) return {};
  return WalkMakerDirectory(source, *layout);
}

}  // namespace lumatrim
