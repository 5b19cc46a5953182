#include <cctype>
#include <cmath>

#include "core/exif/ExifData.h"
#include "core/exif/TagRender.h"
#include "core/exif/TagTables.h"

namespace lumatrim {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kMillimetresPerCentimetre = 10.0;
constexpr double kFullFrameDiagonal = 43.26661531;  // of a 36 x 24 mm frame

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool NextOf(const std::vector<TagEntry>& list, int& cursor, TagGroup group, TagEntry& entry) {
  const int count = static_cast<int>(list.size());
  if (cursor < 0) cursor = 0;
  while (cursor < count && list[cursor].Group != static_cast<int32_t>(group)) ++cursor;
  if (cursor >= count) {
    entry = TagEntry();
    return false;
  }
  entry = list[cursor++];  // assigning over the caller's entry reuses its buffers
  return true;
}

}  // namespace

bool ExifData::NextTag(TagGroup group, TagEntry& entry) { return NextOf(TagList, TagCursor, group, entry); }

bool ExifData::NextThumbTag(TagGroup group, TagEntry& entry) {
  return NextOf(ThumbTagList, ThumbTagCursor, group, entry);
}

int ExifData::TagIndexByName(const std::string& name) const {
  for (int i = 0; i < TagCount(); ++i)
    if (SameIgnoringCase(TagList[i].Name, name)) return i;
  return -1;
}

std::string ExifData::TagValueByName(const std::string& name) const {
  const int i = TagIndexByName(name);
  return i >= 0 ? TagList[i].Data : std::string();
}

TagEntry ExifData::GetTagByName(const std::string& name) const {
  const int i = TagIndexByName(name);
  return i >= 0 ? TagList[i] : TagEntry();
}

double ExifData::GetTagNumber(const std::string& name) const {
  const int i = TagIndexByName(name);
  if (i < 0 || TagList[i].Tag == 0) return 0.0;
  return RawToNumber(TagList[i].Raw, TagList[i].FormatCode);
}

int ExifData::GetTagInt(const std::string& name) const {
  return static_cast<int>(RoundHalfEven(GetTagNumber(name)));
}

void ExifData::AddFocalLength35() {
  if (TagIndexByName("FocalLengthin35mmFilm") >= 0) return;
  int unit = GetTagInt("FocalPlaneResolutionUnit");
  if (unit <= 0) unit = GetTagInt("ResolutionUnit");
  const double mmPerUnit = unit == 2 ? kMillimetresPerInch : unit == 3 ? kMillimetresPerCentimetre : 0.0;
  const double focal = GetTagNumber("FocalLength");
  if (mmPerUnit == 0.0 || focal == 0.0) return;

  double width = 0.0, height = 0.0;
  if (const int xr = GetTagInt("FocalPlaneXResolution"); xr > 0) width = ImageWidth * mmPerUnit / xr;
  if (const int yr = GetTagInt("FocalPlaneYResolution"); yr > 0) height = ImageHeight * mmPerUnit / yr;
  if (!(width * height > 0.0)) return;
  const double factor = kFullFrameDiagonal / std::sqrt(width * width + height * height);

  TagEntry entry = EntryFromRow(MainTagTable[MainRowByName("FocalLengthIn35mmFilm")]);
  entry.Data = FormatNumber("%5.2f", focal * factor, DecimalSeparator);
  entry.Raw.clear();
  entry.FormatString = "%s mm";
  entry.FormatCode = 10;
  entry.Group = 0;
  AddTag(entry);
}

}  // namespace lumatrim
