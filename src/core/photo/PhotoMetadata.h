#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/bytes/TextEncoding.h"
#include "core/exif/ExifData.h"
#include "core/exif/ReadOutcome.h"
#include "core/exif/TagRender.h"
#include "core/iptc/IptcRecord.h"
#include "core/xmp/XmpSegments.h"

namespace lumatrim {

// One JPEG segment kept by the reader, for the writer to emit again.
struct KeptSegment {
  std::string content;  // from the 2-byte big-endian length field on
  int marker = 0;       // the byte after FF, e.g. 0xE1 for APP1
  int lengthField = 0;  // the length field as read
};

// How much of a photo's metadata a read decodes.
enum class ReadDepth {
  Everything,  // every tag with its value text, the maker notes and the IPTC items: for showing
  ForWriting,  // only what a writer needs (segments, size entries): for the batch
};

struct ReadOptions {
  ReadDepth depth = ReadDepth::Everything;
  char decimalSeparator = DefaultDecimalSeparator();  // of numbers in value texts
  CodePage codePage = LegacyCodePage();               // of IPTC text that is not UTF-8
  int tiffBlockSize = 256000;  // of a TIFF file kept after its header; the rest is read on demand
};

// A photo's metadata, read once: the JPEG segments the writer emits again,
// the EXIF directories, the IPTC record, the XMP packets, and how the read ended. A plain
// value: the reader (PhotoReader.h) makes it, the writer (PhotoWriter.h)
// takes it and a new picture.
//
// After a read the EXIF block is held twice: as the kept segment (what the
// writer emits) and as exif->Block (what the parser reads).
struct PhotoMetadata {
  static constexpr int kNoSegment = -1;
  static constexpr int kScanSegments = 20;  // segments a JPEG scan keeps at most (plus a late APP13), XMP aside
  static constexpr int kMaxXmpExtensionSegments = 1024;  // 64 MB of extended XMP

  std::string filePath;
  ReadOptions options;   // as read, for later walks of the same bytes
  ReadOutcome outcome;   // the read's; a later thumbnail walk may add its failure
  std::vector<KeptSegment> segments;  // in file order; a TIFF file's block is the one segment
  int exifSegment = kNoSegment;       // indices into segments
  int iptcSegment = kNoSegment;
  int commentSegment = kNoSegment;    // the last comment; writers write every comment kept in segments
  int jfifSegment = kNoSegment;
  std::unique_ptr<ExifData> exif;
  std::unique_ptr<IptcRecord> iptc;  // of the APP13 segment; none after a writer's read
  int xmpSegment = kNoSegment;            // the APP1 of the standard XMP packet
  std::vector<int> xmpExtensionSegments;  // the APP1s of extended XMP chunks, in file order
  std::unique_ptr<XmpBlock> xmp;          // the XMP as read; none after a writer's read (see PhotoXmp.h)

  // The segment at index, or null for kNoSegment.
  KeptSegment* Segment(int index);
  const KeptSegment* Segment(int index) const;

  bool ExifPresent() const { return exifSegment != kNoSegment; }
  bool IptcPresent() const { return iptcSegment != kNoSegment; }
  bool XmpPresent() const { return xmpSegment != kNoSegment; }
  bool MetadataPresent() const { return ExifPresent() || IptcPresent() || commentSegment != kNoSegment; }
  bool ThumbnailPresent() const;
  // Walks IFD1 into the thumbnail list; a walk that stops early becomes the outcome.
  void ParseThumbnailDirectory();
  // The EXIF thumbnail's JPEG bytes (SOI to EOI), or empty.
  std::string CutThumbnail() const;
};

}  // namespace lumatrim
