#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/xmp/XmpPacket.h"

namespace lumatrim {

// XMP in JPEG files: one APP1 segment with the standard packet and, for a
// packet too large for it, APP1 segments carrying the extended packet in
// chunks. Segment contents here are as the photo reader keeps them: from the
// 2-byte length field on.
//
// Standard:  2 bytes length, "http://ns.adobe.com/xap/1.0/\0" (29), packet
// Extended:  2 bytes length, "http://ns.adobe.com/xmp/extension/\0" (35),
//            32 bytes GUID (MD5 of the whole extended packet, hex),
//            4 bytes full length, 4 bytes offset of this chunk, chunk

inline constexpr std::string_view kXmpSignature("http://ns.adobe.com/xap/1.0/\0", 29);
inline constexpr std::string_view kXmpExtensionSignature("http://ns.adobe.com/xmp/extension/\0", 35);
inline constexpr uint8_t kXmpMarker = 0xE1;
// The most packet bytes a segment holds, and the chunk size of extended packets.
inline constexpr size_t kMaxStandardXmp = 65535 - 2 - kXmpSignature.size();
inline constexpr size_t kExtendedXmpChunk = 65000;

bool IsXmpSegment(uint8_t marker, std::string_view content);
bool IsXmpExtensionSegment(uint8_t marker, std::string_view content);
// The packet of a standard segment (empty when it is not one).
std::string_view XmpPacketOfSegment(std::string_view content);

// A photo's XMP: the standard packet and, when that names one, the extended
// packet joined from its chunks. problem says why an extended packet could
// not be joined (its chunks are then kept in the file as they were).
struct XmpBlock {
  XmpPacket standard;
  XmpPacket extended;
  std::string problem;

  // Both packets' properties, the standard packet's first.
  std::vector<XmpProperty> Properties() const;
};

// Reads the standard packet and joins the chunks of extension segments (in
// any order) whose GUID it names, ordered by offset; they must cover the
// full length exactly and match the GUID's MD5. Never throws.
XmpBlock ReadXmpBlock(std::string_view standardContent, const std::vector<std::string_view>& extensionContents);

// The payloads (after the length field) of the segments for a standard
// packet and an extended one (empty: none).
std::string StandardXmpPayload(std::string_view packet);
std::vector<std::string> ExtendedXmpPayloads(std::string_view guid, std::string_view extended);

}  // namespace lumatrim
