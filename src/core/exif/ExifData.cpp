#include "core/exif/ExifData.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "core/exif/TagRender.h"
#include "core/exif/TagTables.h"
#include "core/exif/IfdEntry.h"
#include "core/exif/TiffType.h"
#include "core/makernotes/MakerNoteDecoder.h"

namespace lumatrim {
namespace {

// Directories nest a few levels in real files (IFD0 -> EXIF -> interop); a
// deeper chain is hostile and would only eat the stack.
constexpr int kMaxDirectoryDepth = 16;
constexpr size_t kMakeLength = 32;
constexpr size_t kModelLength = 40;
constexpr size_t kExifVersionLength = 6;
// A TIFF file's values are read from the file on demand: a damaged count must
// not pull the whole file into memory. No value we show comes near this size.
constexpr uint64_t kLargestValueRead = 1 << 20;

enum SpecialTag : uint16_t {
  kImageWidth = 0x0100, kImageLength = 0x0101, kCompression = 0x0103, kMake = 0x010F, kModel = 0x0110,
  kSubIfds = 0x014A, kExifOffset = 0x8769, kGpsInfo = 0x8825, kExifVersion = 0x9000, kMakerNote = 0x927C,
  kUserComment = 0x9286, kOffsetTime = 0x9010, kOffsetTimeOriginal = 0x9011, kOffsetTimeDigitized = 0x9012, kExifImageWidth = 0xA002, kExifImageLength = 0xA003, kInteropOffset = 0xA005,
};

// The entries a writer's read walks: those leading to other directories and
// the picture's size.
bool LeadsOrSizes(uint16_t tag) {
  return tag == kSubIfds || tag == kExifOffset || tag == kInteropOffset || tag == kGpsInfo || tag == kImageWidth ||
         tag == kImageLength || tag == kExifImageWidth || tag == kExifImageLength;
}

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

ExifData::ExifData() : DecimalSeparator(DefaultDecimalSeparator()) {
  InitTagTables(true);
  ClearVisitedDirectories();
  TagList.reserve(64);  // a camera photo has about that many
}

ExifData::~ExifData() = default;

bool ExifData::DirectoryVisited(int64_t offset, int64_t origin) const {
  return std::find(visited_.begin(), visited_.end(), std::make_pair(offset, origin)) != visited_.end();
}

int32_t ExifData::RawToInt(const std::string& raw) const { return lumatrim::RawToInt(raw, BigEndian()); }

double ExifData::RawToNumber(const std::string& raw, int fmt) const {
  return lumatrim::RawToNumber(raw, fmt, BigEndian());
}

std::string ExifData::RenderValue(const std::string& raw, int fmt, const std::string& decodeList,
                                    const std::string& formatString) const {
  return lumatrim::RenderValue(raw, fmt, decodeList, formatString, BigEndian(), DecimalSeparator);
}

// A directory (see IfdReader) whose entries must end by offset + origin + 1 +
// size; the link to IFD1 is taken from IFD0 of a JPEG block only.
void ExifData::ParseDirectory(int64_t offset, int64_t origin, DirectoryKind kind, int64_t size) {
  MarkDirectoryVisited(offset, origin);
  if (depth_ == 0) role_ = kind == DirectoryKind::Main ? DirectoryRole::kIfd0 : DirectoryRole::kOther;
  const IfdReader directory(View(), offset);
  const int count = directory.CountField();
  const int64_t linkOffset = directory.LinkOffset(count);
  if (linkOffset > offset + origin + 1 + size) {
    failure = ReadOutcome::Of(ReadStatus::IllegallySizedDirectory);
    return;
  }
  if (kind == DirectoryKind::Main && Ifd1Offset == 0 && !IsTiffFile) {
    Ifd1Offset = static_cast<int32_t>(directory.NextDirectory(count));
    Ifd1Length = ClampToInt(origin + 1 + size - static_cast<int64_t>(Ifd1Offset));
  }
  ++depth_;
  try {
    WalkEntries(offset, origin, kind, size, count);
  } catch (...) {
    --depth_;
    throw;
  }
  --depth_;
}

std::string ExifData::ValueText(const TagEntry& entry, bool known, const IfdEntry& field, const std::string& raw) {
  const uint16_t fmt = field.type;
  std::string value;
  if (IsType(fmt, TiffType::Ascii)) {
    value = raw;
    if (!value.empty() && value.back() == '\0') value.pop_back();
  } else if (IsType(fmt, TiffType::Undefined)) {
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
  if (field.tag == kUserComment) {  // 8 bytes of character-code header, then the text
    const uint64_t byteCount = field.byteCount;
    value = TrimControls(byteCount > 9 ? raw.substr(std::min<size_t>(8, raw.size()), byteCount - 9) : "");
  }
  return value;
}

void ExifData::WalkEntries(int64_t offset, int64_t origin, DirectoryKind kind, int64_t size, int count) {
  const ByteView block = View();
  const IfdReader directory(block, offset);
  for (int i = 0; i < count; ++i) {
    const IfdEntry field = directory.Entry(i, origin);
    const uint16_t tag = field.tag;
    const uint16_t fmt = field.type;
    const uint64_t byteCount = field.byteCount;
    if (byteCount == 0) continue;
    const bool special = tag == kImageWidth || tag == kImageLength || tag == kCompression || tag == kMake ||
                         tag == kModel || tag == kSubIfds || tag == kExifOffset || tag == kGpsInfo ||
                         tag == kExifVersion || tag == kMakerNote || tag == kExifImageWidth ||
                         tag == kExifImageLength || tag == kInteropOffset;
    TagEntry entry = LookupTagDef(tag, kind);
    const bool known = !IsUnknownRow(entry);
    if (decodeValues && kind == DirectoryKind::Main && tag >= kOffsetTime && tag <= kOffsetTimeDigitized &&
        IsType(fmt, TiffType::Ascii))
      KeepTimeZone(tag, block.Copy(field.valueOffset, static_cast<int64_t>(std::min<uint64_t>(byteCount, 16))));
    // An entry of a tag absent from the dictionary is never stored, so unless
    // it drives the walk there is nothing to do with it.
    if (!known && !special) continue;
    if (!decodeValues && !LeadsOrSizes(tag)) continue;

    std::string raw = block.Copy(field.valueOffset, static_cast<int64_t>(std::min<uint64_t>(byteCount, kLargestValueRead)));
    // A writer's read needs only the bytes.
    std::string value = decodeValues ? ValueText(entry, known, field, raw) : std::string();

    switch (tag) {
      case kImageWidth:
      case kExifImageWidth:
        if (kind == DirectoryKind::Main) RecordSize(field.offset + 8, fmt, field.count, raw, true);
        break;
      case kImageLength:
      case kExifImageLength:
        if (kind == DirectoryKind::Main) RecordSize(field.offset + 8, fmt, field.count, raw, false);
        break;
      case kCompression:
        if (kind == DirectoryKind::Thumbnail) ThumbCompression = ClampToInt(RoundHalfEven(RawToNumber(raw, fmt)));
        break;
      case kMake: CameraMake = value.substr(0, kMakeLength); break;
      case kModel: CameraModel = value.substr(0, kModelLength); break;
      case kExifVersion: ExifVersion = raw.substr(0, kExifVersionLength); break;
      case kMakerNote:
        MakerNoteRaw = raw;
        MakerNoteOffset = field.valueOffset;
        DecodeMakerNote();
        break;
      case kSubIfds:
      case kExifOffset:
      case kInteropOffset:
      case kGpsInfo: {
        const int64_t sub = static_cast<int64_t>(block.U32(field.valueOffset)) + origin;
        if (!DirectoryVisited(sub, origin) && depth_ < kMaxDirectoryDepth) {
          const DirectoryRole parent = role_;
          role_ = tag == kExifOffset && parent == DirectoryRole::kIfd0 ? DirectoryRole::kExif : DirectoryRole::kOther;
          try {
            ParseDirectory(sub, origin, tag == kGpsInfo ? DirectoryKind::Gps : DirectoryKind::Main, size);
          } catch (const std::exception&) {
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
    entry.DataOffset = ClampToInt(field.valueOffset);
    entry.FormatCode = fmt;
    if (kind == DirectoryKind::Thumbnail) AddThumbTag(entry);
    else AddTag(std::move(entry));
  }
}

void ExifData::KeepTimeZone(uint16_t tag, std::string text) {
  std::string* zone = tag == kOffsetTime           ? &OffsetTime
                      : tag == kOffsetTimeOriginal  ? &OffsetTimeOriginal
                      : tag == kOffsetTimeDigitized ? &OffsetTimeDigitized
                                                    : nullptr;
  if (zone == nullptr) return;
  if (const size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
  *zone = TrimControls(text);
}

void ExifData::RecordSize(int64_t fieldOffset, uint16_t fmt, uint64_t count, const std::string& raw, bool isWidth) {
  (isWidth ? WidthOffset : HeightOffset) = fieldOffset;
  (isWidth ? ImageWidth : ImageHeight) = ClampToInt(RoundHalfEven(RawToNumber(raw, fmt)));
  // Only a single integer lives in the value field itself; anything else
  // there is an offset, which a size must never overwrite.
  const bool integer = IsType(fmt, TiffType::Short) || IsType(fmt, TiffType::Long) || IsType(fmt, TiffType::SLong);
  const bool picture = role_ == DirectoryRole::kIfd0 || role_ == DirectoryRole::kExif;
  if (integer && count == 1 && picture) SizeFields.push_back({fieldOffset, fmt, isWidth});
}

// The maker note just met: its entries join the tag list here, before the
// MakerNote entry itself.
void ExifData::DecodeMakerNote() {
  MakerNoteSource source;
  source.facts = {CameraMake, CameraModel, ExifVersion, MakerNoteRaw, MakerNoteOffset - TiffOrigin, IsTiffFile};
  source.exif = View();
  source.noteOffset = MakerNoteOffset;
  source.decimalSeparator = DecimalSeparator;
  MakerNoteEntries maker = lumatrim::DecodeMakerNote(source);
  for (TagEntry& entry : maker.entries) TagList.push_back(std::move(entry));
  if (maker.failure.Failed()) failure = maker.failure;
}

void ExifData::ParseThumbnailDirectory() {
  ThumbTagList.clear();
  ThumbTagCursor = 0;
  try {
    ParseDirectory(static_cast<int64_t>(Ifd1Offset) + kJpegTiffOrigin, kJpegTiffOrigin, DirectoryKind::Thumbnail,
                   static_cast<int64_t>(Ifd1Length) - 12);
  } catch (const std::exception& error) {
    failure = ReadOutcome::Error(error.what());
  }
}

int ExifData::AddTag(const TagEntry& entry) {
  if (!IsUnknownRow(entry)) TagList.push_back(entry);
  return TagCount() - 1;
}

int ExifData::AddTag(TagEntry&& entry) {
  if (!IsUnknownRow(entry)) TagList.push_back(std::move(entry));
  return TagCount() - 1;
}

int ExifData::AddThumbTag(const TagEntry& entry) {
  if (!IsUnknownRow(entry)) ThumbTagList.push_back(entry);
  return ThumbTagCount() - 1;
}

void ExifData::AddCustomTag(const std::string& name, const std::string& value, int formatCode) {
  TagList.push_back(DerivedEntry(name, value, static_cast<uint16_t>(formatCode)));
}

void ExifData::WriteImageSize(std::string& block, int newHeight, int newWidth) const {
  if (newHeight <= 0 || newWidth <= 0) return;
  auto writeAll = [&](std::string& bytes) {
    for (const SizeField& field : SizeFields) {
      const int value = field.IsWidth ? newWidth : newHeight;
      if (!IsType(field.Format, TiffType::Short)) PutU32(bytes, field.Offset, static_cast<uint32_t>(value), Order);
      else if (value <= UINT16_MAX) PutU16(bytes, field.Offset, static_cast<uint16_t>(value), Order);
    }
  };
  writeAll(block);
}

}  // namespace lumatrim
