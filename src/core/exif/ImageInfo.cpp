#include "core/exif/ImageInfo.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "core/exif/ImgData.h"
#include "core/exif/TagRender.h"
#include "core/exif/TagTables.h"
#include "core/makernotes/MakerNoteHook.h"

namespace lumatrim {
namespace {

// Directories nest a few levels in real files (IFD0 -> EXIF -> interop); a
// deeper chain is hostile and would only eat the stack.
constexpr int kMaxDirectoryDepth = 16;
constexpr size_t kMakeLength = 32;
constexpr size_t kModelLength = 40;
constexpr size_t kExifVersionLength = 6;
constexpr uint16_t kFormatShort = 3, kFormatLong = 4, kFormatSlong = 9;

enum SpecialTag : uint16_t {
  kImageWidth = 0x0100, kImageLength = 0x0101, kCompression = 0x0103, kMake = 0x010F, kModel = 0x0110,
  kSubIfds = 0x014A, kExifOffset = 0x8769, kGpsInfo = 0x8825, kExifVersion = 0x9000, kMakerNote = 0x927C,
  kUserComment = 0x9286, kExifImageWidth = 0xA002, kExifImageLength = 0xA003, kInteropOffset = 0xA005,
};

std::string TrimControls(const std::string& text) {
  size_t a = 0, b = text.size();
  while (a < b && static_cast<unsigned char>(text[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(text[b - 1]) <= ' ') --b;
  return text.substr(a, b - a);
}

std::string Quoted(const std::string& raw, bool toFirstZero) {
  const size_t end = toFirstZero ? raw.find('\0') : std::string::npos;
  return "\"" + raw.substr(0, end) + "\"";
}

int ClampToInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

TImageInfo::TImageInfo(TimgData* owner, int buildMode)
    : Owner(owner), BuildMode(buildMode), DecimalSeparator(DefaultDecimalSeparator()) {
  InitTagTables(true);
  ClearVisitedDirectories();
  TagList.reserve(64);  // a camera photo has about that many
}

TImageInfo::~TImageInfo() = default;

void TImageInfo::SetErrorText(const std::string& text) {
  if (Owner) Owner->ErrorText = text;
  else ErrorText = text;
}

bool TImageInfo::DirectoryVisited(int64_t start, int base) const {
  return std::find(visited_.begin(), visited_.end(), std::make_pair(start, base)) != visited_.end();
}

int32_t TImageInfo::RawToInt(const std::string& raw) const { return lumatrim::RawToInt(raw, BigEndian); }

double TImageInfo::RawToNumber(const std::string& raw, int fmt) const {
  return lumatrim::RawToNumber(raw, fmt, BigEndian);
}

std::string TImageInfo::RenderValue(const std::string& raw, int fmt, const std::string& decodeList,
                                    const std::string& formatString) const {
  return lumatrim::RenderValue(raw, fmt, decodeList, formatString, BigEndian, DecimalSeparator);
}

// Layout of one directory at `start` (positions are offset + base):
//   2 bytes  entry count
//   12 bytes per entry: tag, type, count, value or offset of the value
//   4 bytes  offset of the next directory (IFD1 after IFD0)
void TImageInfo::ParseDirectory(int64_t start, int base, const std::string&, int kind, int64_t size) {
  MarkDirectoryVisited(start, base);
  if (depth_ == 0) role_ = kind == kDirMain ? DirectoryRole::kIfd0 : DirectoryRole::kOther;
  const int count = GetWord(start);
  const int64_t linkPos = start + 2 + 12 * static_cast<int64_t>(count);
  if (linkPos > start + base + size) {
    SetErrorText("Illegally sized directory");
    return;
  }
  if (kind == kDirMain && Ifd1Offset == 0 && !IsTiffFile) {
    Ifd1Offset = static_cast<int32_t>(GetLong(linkPos));
    Ifd1Length = ClampToInt(base + size - static_cast<int64_t>(Ifd1Offset));
  }
  ++depth_;
  try {
    WalkEntries(start, base, kind, size, count);
  } catch (...) {
    --depth_;
    throw;
  }
  --depth_;
}

void TImageInfo::WalkEntries(int64_t start, int base, int kind, int64_t size, int count) {
  for (int i = 0; i < count; ++i) {
    const int64_t p = start + 2 + 12 * static_cast<int64_t>(i);
    const uint16_t tag = GetWord(p);
    const uint16_t fmt = GetWord(p + 2);
    const uint64_t byteCount = static_cast<uint64_t>(GetLong(p + 4)) * BytesPerFormat(fmt);
    if (byteCount == 0) continue;
    const int64_t valuePos = byteCount <= 4 ? p + 8 : static_cast<int64_t>(GetLong(p + 8)) + base;
    const bool special = tag == kImageWidth || tag == kImageLength || tag == kCompression || tag == kMake ||
                         tag == kModel || tag == kSubIfds || tag == kExifOffset || tag == kGpsInfo ||
                         tag == kExifVersion || tag == kMakerNote || tag == kExifImageWidth ||
                         tag == kExifImageLength || tag == kInteropOffset;
    TTagEntry entry = LookupTagDef(tag, kind);
    const bool known = !IsUnknownRow(entry);
    // An entry of a tag absent from the dictionary is never stored, so unless
    // it drives the walk there is nothing to do with it.
    if (!known && !special) continue;

    std::string raw = Copy(valuePos, static_cast<int64_t>(std::min<uint64_t>(byteCount, INT64_MAX / 2)));
    std::string value;
    if (fmt == 2) {
      value = raw;
      if (!value.empty() && value.back() == '\0') value.pop_back();
    } else if (fmt == 7) {
      value = Quoted(raw, true);
    } else {
      value = RenderValue(raw, fmt, entry.DecodeList, entry.FormatString);
    }
    if (known && entry.RenderFunc) {
      TagRenderContext context{DecimalSeparator, &TagList};
      value = entry.RenderFunc(value, context);
    } else {
      value = Printable(value);
    }
    if (tag == kUserComment)  // 8 bytes of character-code header, then the text
      value = TrimControls(byteCount > 9 ? raw.substr(std::min<size_t>(8, raw.size()), byteCount - 9) : "");

    switch (tag) {
      case kImageWidth:
      case kExifImageWidth:
        if (kind == kDirMain) RecordSize(p + 8, fmt, GetLong(p + 4), raw, true);
        break;
      case kImageLength:
      case kExifImageLength:
        if (kind == kDirMain) RecordSize(p + 8, fmt, GetLong(p + 4), raw, false);
        break;
      case kCompression:
        if (kind == kDirThumbnail) ThumbCompression = ClampToInt(RoundHalfEven(RawToNumber(raw, fmt)));
        break;
      case kMake: CameraMake = value.substr(0, kMakeLength); break;
      case kModel: CameraModel = value.substr(0, kModelLength); break;
      case kExifVersion: ExifVersion = raw.substr(0, kExifVersionLength); break;
      case kMakerNote:
        MakerNoteRaw = raw;
        MakerNotePos = ClampToInt(valuePos);
        try {
          DecodeMakerNoteOf(*this);
        } catch (const std::exception& error) {
          SetErrorText(std::string("Error Detected = ") + error.what());
        } catch (...) {
          SetErrorText("Error Detected = maker note");
        }
        break;
      case kSubIfds:
      case kExifOffset:
      case kInteropOffset:
      case kGpsInfo: {
        const int64_t sub = static_cast<int64_t>(GetLong(valuePos)) + base;
        if (!DirectoryVisited(sub, base) && depth_ < kMaxDirectoryDepth) {
          const DirectoryRole parent = role_;
          role_ = tag == kExifOffset && parent == DirectoryRole::kIfd0 ? DirectoryRole::kExif : DirectoryRole::kOther;
          try {
            ParseDirectory(sub, base, "", tag == kGpsInfo ? kDirGps : kDirMain, size);
          } catch (...) {
            // A broken sub-directory loses only its own entries.
          }
          role_ = parent;
        }
        break;
      }
      default: break;
    }

    if (!known) continue;
    entry.Data = std::move(value);
    entry.Size = static_cast<int32_t>(raw.size());
    entry.Raw = std::move(raw);
    entry.DataPos = ClampToInt(valuePos);
    entry.FormatCode = fmt;
    if (kind == kDirThumbnail) AddThumbTag(entry);
    else AddTag(std::move(entry));
  }
}

void TImageInfo::RecordSize(int64_t fieldPos, uint16_t fmt, uint64_t count, const std::string& raw, bool isWidth) {
  (isWidth ? WidthPos : HeightPos) = ClampToInt(fieldPos);
  (isWidth ? ImageWidth : ImageHeight) = ClampToInt(RoundHalfEven(RawToNumber(raw, fmt)));
  // Only a single integer lives in the value field itself; anything else
  // there is an offset, which a size must never overwrite.
  const bool integer = fmt == kFormatShort || fmt == kFormatLong || fmt == kFormatSlong;
  const bool picture = role_ == DirectoryRole::kIfd0 || role_ == DirectoryRole::kExif;
  if (integer && count == 1 && picture) SizeFields.push_back({ClampToInt(fieldPos), fmt, isWidth});
}

void TImageInfo::ParseThumbnailDirectory() {
  ThumbTagList.clear();
  ThumbTagCursor = 0;
  try {
    ParseDirectory(static_cast<int64_t>(Ifd1Offset) + kJpegBase, kJpegBase, "Thumbnail", kDirThumbnail,
                   static_cast<int64_t>(Ifd1Length) - 12);
  } catch (const std::exception& error) {
    SetErrorText(std::string("Error Detected = ") + error.what());
  }
}

void TImageInfo::ParseMakerDirectory(const std::string& block, std::span<const TTagDef> table, int dirOffset,
                                     int adjust) {
  // The walk reads the maker-note bytes in place, in the current BigEndian
  // (the decoder may switch it around the call); Buffer keeps the EXIF block,
  // where values running past the note are looked for.
  auto word = [&](int64_t pos) { return WordAt(block, pos, BigEndian); };
  auto longAt = [&](int64_t pos) { return LongAt(block, pos, BigEndian); };
  try {
    const int64_t start = static_cast<int64_t>(dirOffset) + 1;
    const int64_t valueBase = static_cast<int64_t>(dirOffset) + 2 - adjust;
    // A count that runs past the note is read only as far as whole entries go:
    // nothing outside the maker-note bytes is taken for an entry.
    const int64_t entriesInBlock = std::max<int64_t>(0, (static_cast<int64_t>(block.size()) - (start + 1)) / 12);
    const int64_t count = std::min<int64_t>(word(start), entriesInBlock);
    for (int64_t i = 0; i < count; ++i) {
      const int64_t p = start + 2 + 12 * i;
      const uint16_t tag = word(p);
      const uint16_t fmt = word(p + 2);
      const uint64_t byteCount = static_cast<uint64_t>(longAt(p + 4)) * BytesPerFormat(fmt);
      const int row = FindTableRow(tag, table);
      if (row < 0) continue;  // unmatched entries are not stored
      const TTagDef& def = table[row];
      std::string name = RowDesc(def);
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
      if (name == "SKIP") continue;

      const int64_t count64 = static_cast<int64_t>(std::min<uint64_t>(byteCount, INT64_MAX / 4));
      const int64_t valuePos = byteCount <= 4 ? p + 8 : static_cast<int64_t>(longAt(p + 8)) + valueBase;
      // A value past the end of the maker-note bytes is looked for at the same
      // place of the EXIF segment, where the note came from.
      std::string raw = InRange(block, valuePos, count64) ? CopyFrom(block, valuePos, count64)
                                                          : Copy(MakerNotePos - 1 + valuePos, count64);
      std::string value;
      if (fmt == 2) {
        value = Quoted(raw, true);
      } else if (fmt == 7) {
        value = Quoted(raw, false);
      } else {
        try {
          value = RenderValue(raw, fmt, def.DecodeList, def.FormatString);
        } catch (...) {
          value = Quoted(raw, false);
        }
      }
      TagRenderContext context{DecimalSeparator, &TagList};
      std::string display = def.RenderFunc ? def.RenderFunc(value, context) : Printable(value);
      TTagEntry entry = EntryFromRow(def);
      entry.Data = context.BlockRendered ? std::move(value) : std::move(display);
      entry.Raw = std::move(raw);
      entry.FormatCode = fmt;
      entry.Group = 1;
      AddTag(std::move(entry));
    }
  } catch (const std::exception& error) {
    SetErrorText(std::string("Error Detected = ") + error.what());
  } catch (...) {
    SetErrorText("Error Detected = maker note");
  }
}

int TImageInfo::AddTag(const TTagEntry& entry) {
  if (!IsUnknownRow(entry)) TagList.push_back(entry);
  return TagCount() - 1;
}

int TImageInfo::AddTag(TTagEntry&& entry) {
  if (!IsUnknownRow(entry)) TagList.push_back(std::move(entry));
  return TagCount() - 1;
}

int TImageInfo::AddThumbTag(const TTagEntry& entry) {
  if (!IsUnknownRow(entry)) ThumbTagList.push_back(entry);
  return ThumbTagCount() - 1;
}

void TImageInfo::AddCustomTag(const std::string& name, const std::string& value, int formatCode) {
  TagList.push_back(DerivedEntry(name, value, static_cast<uint16_t>(formatCode)));
}

void TImageInfo::UpdateImageSize(int newHeight, int newWidth) {
  if (newHeight <= 0 || newWidth <= 0) return;
  auto writeAll = [&](std::string& bytes) {
    for (const SizeField& field : SizeFields) {
      const int value = field.IsWidth ? newWidth : newHeight;
      if (field.Format != kFormatShort) PutLong(bytes, static_cast<uint32_t>(value), field.Pos);
      else if (value <= UINT16_MAX) PutWord(bytes, static_cast<uint16_t>(value), field.Pos);
    }
  };
  writeAll(Buffer);
  if (Owner) {
    if (tSection* exif = Owner->Slot(Owner->ExifSection)) writeAll(exif->Content);
  }
}

}  // namespace lumatrim
