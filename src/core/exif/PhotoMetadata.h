#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/bytes/ByteSource.h"
#include "core/exif/ExifData.h"
#include "core/iptc/IptcRecord.h"

namespace lumatrim {

class JpegImage;  // core/jpeg/JpegImage.h

// One kept JPEG segment.
struct KeptSegment {
  std::string Content;    // from the 2-byte big-endian length field on
  int32_t Marker = 0;     // the byte after FF, e.g. 225 for APP1
  int32_t SegLength = 0;  // the length field as read
};

// The metadata container of one photo file. Reading never throws: the result,
// ErrorText and the presence queries tell the outcome.
//
// After a read the EXIF block is held twice: as the segment's slot content
// (what the writer emits) and as ExifInfo->Block (what the parser reads).
class PhotoMetadata {
 public:
  static constexpr int kSlotCount = 21;      // slots 1..21; 21 only for a new IPTC segment
  static constexpr int kScanSlots = 20;      // segments the scan keeps at most
  static constexpr int TiffReadSize = 256000;  // of a TIFF file kept after its header

  PhotoMetadata();
  ~PhotoMetadata();
  PhotoMetadata(const PhotoMetadata&) = delete;
  PhotoMetadata& operator=(const PhotoMetadata&) = delete;

  // Slots 1..kSlotCount (index 0 unused); slot references are slot numbers, 0 = none.
  std::vector<KeptSegment> Sections;
  int SectionCount = 0;
  int ExifSection = 0;
  int IptcSection = 0;
  int CommentSection = 0;
  int JfifSection = 0;
  bool ReadingTiff = false;
  int TiffBlockSize = TiffReadSize;  // smaller in fuzzing, so the on-demand reads are reached
  std::string FilePath;
  std::string ErrorText;  // "<none>" after a successful read
  char DecimalSeparator;  // handed to every ExifData made here
  std::unique_ptr<ExifData> ExifInfo;
  std::unique_ptr<IptcRecord> IptcInfo;

  // The slot a reference names, or null for 0 / out of range.
  KeptSegment* Slot(int ref);
  const KeptSegment* Slot(int ref) const;

  // Reading side.
  void ResetContainer();
  bool ReadPhoto(const std::string& path);
  bool ScanJpegFile(const std::string& path);
  bool ScanJpegSegments(ByteSource& input);
  void ParseExifSegment(std::string block);
  bool ScanTiffFile(const std::string& path);
  // A TIFF file's bytes; directories and values past the kept block are read
  // from them on demand while the directories are walked.
  bool ScanTiffBytes(const std::shared_ptr<const RandomAccessBytes>& file);

  bool ExifPresent() const { return ExifSection != 0; }
  bool IptcPresent() const { return IptcSection != 0; }
  bool MetadataPresent() const { return ExifSection != 0 || CommentSection != 0 || IptcSection != 0; }
  bool ThumbnailPresent() const;
  // Walks IFD1 into the thumbnail list; a walk that stops early becomes the outcome.
  void ParseThumbnailDirectory();
  // Writes a new picture size into the kept EXIF segment (and the parser's copy).
  void UpdateImageSize(int newHeight, int newWidth);
  // The EXIF thumbnail's JPEG bytes (SOI to EOI), or empty.
  std::string CutThumbnail() const;

  // Writing side (PhotoWriter.cpp). Writers throw LumatrimError; every file
  // is written to a temporary file beside the target and renamed over it.
  static std::string DefaultJfifHeader();  // the 18-byte APP0 used when no EXIF/APP0 is kept
  void SetIptcSegment(const std::string& payload);
  void StartEmptyIptc();
  void DropExif();
  void DropIptc();
  // Appends SOI, EXIF (else APP0, else the default header), APP13 and COM.
  void EmitMetadataSegments(std::string& stream) const;
  void SaveJpegWithMetadata(const JpegImage& image, const std::string& path, bool adjustSize);
  void RewritePhoto(const std::string& path);
  // The EXIF thumbnail as a loaded JPEG image, or null when there is none.
  std::unique_ptr<JpegImage> DecodeThumbnail() const;

 private:
  void NewExifInfo();
  void WalkIfd0(int64_t offset, int64_t origin, int64_t size);
};

}  // namespace lumatrim
