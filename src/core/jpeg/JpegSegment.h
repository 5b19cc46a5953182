#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/bytes/ByteSource.h"

namespace lumatrim {

// The markers this program acts on (the byte after FF).
enum class JpegMarker : uint8_t {
  Soi = 0xD8,    // start of image
  Eoi = 0xD9,    // end of image
  Sos = 0xDA,    // start of scan: the coded image follows
  App0 = 0xE0,   // JFIF
  App1 = 0xE1,   // EXIF
  App2 = 0xE2,   // ICC profile
  App13 = 0xED,  // Photoshop 3.0 with the IPTC record
  Com = 0xFE,    // comment
};

// One segment as met in the input:
//   FF m  hi lo  payload...   hi·256 + lo counts the two length bytes too
struct JpegSegment {
  uint8_t marker = 0;        // any byte; compare with Is(JpegMarker)
  uint64_t start = 0;        // input offset of the segment's first byte
  uint16_t lengthField = 0;  // as read
  std::string content;       // from the length field on; shorter when the input ends first

  bool Is(JpegMarker m) const { return marker == static_cast<uint8_t>(m); }
  // A length field that covers its own two bytes and all the bytes it names.
  bool Complete() const { return lengthField >= 2 && content.size() == lengthField; }
  // Bytes from the start to the end the length field names.
  uint64_t Extent() const { return uint64_t{lengthField} + 2; }
  bool IsExif() const;
  bool IsPhotoshop() const;
  bool IsIccProfile() const;
  bool EndsHeaders() const { return Is(JpegMarker::Sos) || Is(JpegMarker::Eoi); }
};

// What a segment is, from its marker and its content (from the length field on).
bool IsExifSegment(uint8_t marker, std::string_view content);        // APP1 "Exif\0"
bool IsPhotoshopSegment(uint8_t marker, std::string_view content);   // APP13 "Photoshop 3.0"
bool IsIccProfileSegment(uint8_t marker, std::string_view content);  // APP2 "ICC_PROFILE\0"

// Walks the segments of a JPEG stream one by one, after the caller has taken
// the SOI. Callers choose where to stop (most stop at the first incomplete
// segment or at the start of scan).
class JpegSegmentReader {
 public:
  // Strict: a segment starts with exactly one FF (what an encoder writes; the
  // writer's walks, where a stray byte must end the walk rather than be taken
  // for a marker). Lenient: any run of FF fill bytes, even none, then the
  // marker (the photo reader's scan, as forgiving as decoders are).
  enum class Prefix { Strict, Lenient };

  JpegSegmentReader(ByteSource& source, Prefix prefix, uint64_t startOffset = 0)
      : source_(source), prefix_(prefix), offset_(startOffset) {}

  // The next segment, its content read as far as the length field and the
  // input allow (only the two length bytes when the field is below 2). False
  // when the input ends before the length field, or (Strict) no FF stands
  // where a segment should begin.
  bool Next(JpegSegment& segment);
  // Input offset just past what has been read.
  uint64_t Offset() const { return offset_; }

 private:
  bool ReadByte(uint8_t& byte);

  ByteSource& source_;
  Prefix prefix_;
  uint64_t offset_;
};

// True when a complete segment of the stream, before its start of scan, holds
// an ICC profile. data begins where a segment should.
bool HasIccProfile(std::string_view data);

}  // namespace lumatrim
