#include "core/jpeg/JpegSegment.h"

namespace lumatrim {

namespace {

// The payload (after the length field) begins with signature.
bool Signed(std::string_view content, std::string_view signature) {
  return content.size() >= 2 + signature.size() && content.substr(2, signature.size()) == signature;
}

bool Is(uint8_t marker, JpegMarker expected) { return marker == static_cast<uint8_t>(expected); }

}  // namespace

bool IsExifSegment(uint8_t marker, std::string_view content) {
  return Is(marker, JpegMarker::App1) && Signed(content, std::string_view("Exif\0", 5));
}

bool IsPhotoshopSegment(uint8_t marker, std::string_view content) {
  return Is(marker, JpegMarker::App13) && Signed(content, "Photoshop 3.0");
}

bool IsIccProfileSegment(uint8_t marker, std::string_view content) {
  return Is(marker, JpegMarker::App2) && Signed(content, std::string_view("ICC_PROFILE\0", 12));
}

bool JpegSegment::IsExif() const { return IsExifSegment(marker, content); }
bool JpegSegment::IsPhotoshop() const { return IsPhotoshopSegment(marker, content); }
bool JpegSegment::IsIccProfile() const { return IsIccProfileSegment(marker, content); }

bool JpegSegmentReader::ReadByte(uint8_t& byte) {
  char c;
  if (source_.Read(&c, 1) != 1) return false;
  ++offset_;
  byte = static_cast<uint8_t>(c);
  return true;
}

bool JpegSegmentReader::Next(JpegSegment& segment) {
  segment.start = offset_;
  uint8_t marker = 0;
  if (prefix_ == Prefix::Strict) {
    if (!ReadByte(marker) || marker != 0xFF || !ReadByte(marker)) return false;
  } else {
    marker = 0xFF;
    while (marker == 0xFF)
      if (!ReadByte(marker)) return false;
  }
  char length[2];
  if (source_.Read(length, 2) != 2) return false;
  offset_ += 2;
  segment.marker = marker;
  segment.lengthField = static_cast<uint16_t>(static_cast<uint8_t>(length[0]) << 8 | static_cast<uint8_t>(length[1]));
  segment.content.assign(length, 2);
  if (segment.lengthField < 2) return true;
  segment.content.resize(segment.lengthField);
  const size_t got = source_.Read(segment.content.data() + 2, segment.lengthField - 2u);
  segment.content.resize(2 + got);
  offset_ += got;
  return true;
}

bool HasIccProfile(std::string_view data) {
  MemorySource source(data);
  JpegSegmentReader reader(source, JpegSegmentReader::Prefix::Strict);
  JpegSegment segment;
  while (reader.Next(segment) && !segment.EndsHeaders() && segment.Complete())
    if (segment.IsIccProfile()) return true;
  return false;
}

}  // namespace lumatrim
