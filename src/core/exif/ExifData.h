#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/bytes/ByteView.h"
#include "core/bytes/RandomAccessBytes.h"
#include "core/exif/IfdEntry.h"
#include "core/exif/ReadOutcome.h"
#include "core/exif/TagEntry.h"
#include "core/exif/TagTables.h"
#include "core/exif/TiffType.h"

namespace lumatrim {

// The parsed TIFF/EXIF directories of one photo: the tag list (standard, GPS,
// maker-note and derived tags) and the thumbnail tag list. Block holds the
// bytes being parsed (a JPEG APP1 segment from its length field on, or the
// TIFF block from file offset 8 on); a TIFF offset o is at Block offset
// o + TiffOrigin:
//   JPEG:  2 length  6 "Exif\0\0"  | 8: "II"/"MM", 42, offset of IFD0 ...
//   TIFF:  the header's 8 bytes are not kept | 0: what follows them
//
// All parsing state lives in the object, so two photos can be parsed on two
// threads at once. Failures become `failure`; the one exception that leaves
// ParseDirectory is an entry that cannot be rendered (a Flash entry with two
// values), which ends that directory's walk and reaches whoever started it.
class ExifData {
 public:
  static constexpr int64_t kJpegTiffOrigin = 8;   // "II"/"MM" of an APP1 block kept with its length bytes
  static constexpr int64_t kTiffFileOrigin = -8;  // TIFF block kept from file offset 8

  ExifData();
  ~ExifData();

  std::string Block;
  ByteOrder Order = ByteOrder::LittleEndian;
  // A TIFF file's bytes past Block, read on demand during the walk: Block
  // offset o is byte SourceOrigin + o of Source.
  std::shared_ptr<const RandomAccessBytes> Source;
  int64_t SourceOrigin = 0;
  ByteView View() const { return ByteView(Block, Order, Source.get(), SourceOrigin); }
  bool BigEndian() const { return Order == ByteOrder::BigEndian; }

  std::vector<TagEntry> TagList;       // IFD0, EXIF, interop, SubIFDs, GPS, maker, derived
  std::vector<TagEntry> ThumbTagList;  // IFD1
  int TagCount() const { return static_cast<int>(TagList.size()); }
  int ThumbTagCount() const { return static_cast<int>(ThumbTagList.size()); }
  int TagCursor = 0;
  int ThumbTagCursor = 0;

  bool IsTiffFile = false;    // read from a TIFF or NEF file: IFD1 is not recorded
  int64_t TiffOrigin = kJpegTiffOrigin;  // set by the reader
  char DecimalSeparator;      // of numbers in value texts; defaults to the global locale's

  std::string ExifVersion;  // first 6 raw bytes of 0x9000
  std::string CameraMake;   // value text of 0x010F, max 32 chars
  std::string CameraModel;  // value text of 0x0110, max 40 chars
  int ImageWidth = 0, ImageHeight = 0;            // the last size entry met
  int64_t WidthOffset = 0, HeightOffset = 0;      // Block offsets of those entries' value fields
  // Every size entry of IFD0 and the EXIF sub-IFD (ImageWidth/ImageLength,
  // ExifImageWidth/ExifImageLength), so a new size reaches all of them.
  struct SizeField {
    int64_t Offset;   // of the 4-byte value field in Block
    uint16_t Format;  // SHORT, LONG or SLONG
    bool IsWidth;
  };
  std::vector<SizeField> SizeFields;
  // The time zones of DateTime, DateTimeOriginal and DateTimeDigitized
  // ("+01:00"), kept aside: the dictionary has no rows for them.
  std::string OffsetTime, OffsetTimeOriginal, OffsetTimeDigitized;
  std::string MakerNoteRaw;
  int64_t MakerNoteOffset = 0;  // in Block
  int Ifd1Offset = 0;   // TIFF offset of IFD1; 0 when none
  int Ifd1Length = 0;
  int ThumbCompression = 0;

  // False for a writer's read: no value texts, no maker notes, and only the
  // entries that drive the walk or hold the picture's size.
  bool decodeValues = true;

  // Why the last walk stopped early; the reader passes it on as its outcome.
  ReadOutcome failure;

  // Directory walks of the directory at Block offset `offset`, whose value
  // offsets count from `origin`; the kind picks the dictionary and the list.
  void ParseDirectory(int64_t offset, int64_t origin, DirectoryKind kind, int64_t size);
  void ParseThumbnailDirectory();

  // Refuse the dictionary's "Unknown" row (a tag no table knows); rows whose
  // tag number is 0 (GPSVersionID, some maker rows) are stored like any other.
  // The index of the last entry comes back.
  int AddTag(const TagEntry& entry);
  int AddTag(TagEntry&& entry);
  int AddThumbTag(const TagEntry& entry);
  void AddCustomTag(const std::string& name, const std::string& value, int formatCode);

  // Writes the new size into every size entry of a copy of the EXIF block
  // (the segment as kept, or Block), each in its own integer type.
  void WriteImageSize(std::string& block, int newHeight, int newWidth) const;

  // Rendering in this block's byte order and decimal separator.
  int32_t RawToInt(const std::string& raw) const;
  double RawToNumber(const std::string& raw, int fmt) const;
  std::string RenderValue(const std::string& raw, int fmt, const std::string& decodeList,
                          const std::string& formatString) const;

  // Enumeration by group; reset first.
  void ResetTagCursor() { TagCursor = 0; }
  bool NextTag(TagGroup group, TagEntry& entry);
  void ResetThumbTagCursor() { ThumbTagCursor = 0; }
  bool NextThumbTag(TagGroup group, TagEntry& entry);

  // Lookups by key name, ignoring case; the first matching entry wins.
  int TagIndexByName(const std::string& name) const;
  std::string TagValueByName(const std::string& name) const;
  TagEntry GetTagByName(const std::string& name) const;  // all-empty entry when missing
  double GetTagNumber(const std::string& name) const;
  int GetTagInt(const std::string& name) const;

  // The 35 mm equivalent focal length, when the camera did not record it.
  void AddFocalLength35();

  // Directories already walked, by (offset, origin); ends loops of offsets.
  void ClearVisitedDirectories() { visited_.clear(); }
  void MarkDirectoryVisited(int64_t offset, int64_t origin) { visited_.emplace_back(offset, origin); }
  bool DirectoryVisited(int64_t offset, int64_t origin) const;

 private:
  // Which directory is being walked: the picture's size is recorded only in
  // IFD0 and the EXIF sub-IFD (never in IFD1, the thumbnail's, or SubIFDs).
  enum class DirectoryRole { kIfd0, kExif, kOther };

  std::vector<std::pair<int64_t, int64_t>> visited_;
  int depth_ = 0;  // nesting of sub-directory walks
  DirectoryRole role_ = DirectoryRole::kOther;

  void KeepTimeZone(uint16_t tag, std::string text);
  void RecordSize(int64_t fieldOffset, uint16_t fmt, uint64_t count, const std::string& raw, bool isWidth);

  // The value text of an entry: its bytes rendered as the dictionary says.
  // Throws for an entry that cannot be rendered (see above); a render may add
  // derived rows to TagList.
  std::string ValueText(const TagEntry& entry, bool known, const IfdEntry& field, const std::string& raw);
  void WalkEntries(int64_t offset, int64_t origin, DirectoryKind kind, int64_t size, int count);
  void DecodeMakerNote();
};

}  // namespace lumatrim
