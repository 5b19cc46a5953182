#include "core/xmp/XmpSegments.h"

#include <algorithm>

#include "core/bytes/ByteView.h"
#include "core/xmp/Md5.h"

namespace lumatrim {
namespace {

constexpr int64_t kLengthField = 2;
constexpr int64_t kGuidAt = kLengthField + static_cast<int64_t>(kXmpExtensionSignature.size());
constexpr int64_t kGuidSize = 32;
constexpr int64_t kFullLengthAt = kGuidAt + kGuidSize;
constexpr int64_t kOffsetAt = kFullLengthAt + 4;
constexpr int64_t kChunkAt = kOffsetAt + 4;

struct Chunk {
  uint32_t offset = 0;
  std::string_view bytes;
};

bool SameGuid(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

std::string BigEndian32(uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

// The extended packet from its chunks, or a problem text.
std::string Join(const std::string& guid, const std::vector<std::string_view>& contents, std::string& problem) {
  std::vector<Chunk> chunks;
  int64_t fullLength = -1;
  for (std::string_view content : contents) {
    const ByteView view(content, ByteOrder::BigEndian);
    if (!view.Contains(0, kChunkAt) || !SameGuid(view.Clip(kGuidAt, kGuidSize), guid)) continue;
    const int64_t length = view.U32(kFullLengthAt);
    if (fullLength >= 0 && length != fullLength) {
      problem = "extended XMP chunks disagree on the packet's length";
      return {};
    }
    fullLength = length;
    chunks.push_back({view.U32(kOffsetAt), view.Clip(kChunkAt, view.Size() - kChunkAt)});
  }
  if (chunks.empty()) {
    problem = "extended XMP " + guid + " is missing";
    return {};
  }
  std::stable_sort(chunks.begin(), chunks.end(), [](const Chunk& a, const Chunk& b) { return a.offset < b.offset; });
  // Each chunk must start where the previous ended; a repeated chunk is
  // passed over when it repeats the same bytes.
  int64_t covered = 0;
  std::string packet;
  for (const Chunk& chunk : chunks) {
    const int64_t end = static_cast<int64_t>(chunk.offset) + static_cast<int64_t>(chunk.bytes.size());
    if (chunk.offset < covered && end <= covered &&
        std::string_view(packet).substr(chunk.offset, chunk.bytes.size()) == chunk.bytes) continue;
    if (chunk.offset != covered || end > fullLength) {
      problem = "extended XMP chunk at offset " + std::to_string(chunk.offset) + " does not follow the one before";
      return {};
    }
    packet.append(chunk.bytes);
    covered = end;
  }
  if (covered != fullLength) {
    problem = "extended XMP ends after " + std::to_string(covered) + " of " + std::to_string(fullLength) + " bytes";
    return {};
  }
  if (!SameGuid(Md5Hex(packet), guid)) {
    problem = "extended XMP does not match its MD5 digest " + guid;
    return {};
  }
  return packet;
}

}  // namespace

bool IsXmpSegment(uint8_t marker, std::string_view content) {
  return marker == kXmpMarker && content.size() >= 2 + kXmpSignature.size() && content.substr(2, kXmpSignature.size()) == kXmpSignature;
}

bool IsXmpExtensionSegment(uint8_t marker, std::string_view content) {
  return marker == kXmpMarker && content.size() >= 2 + kXmpExtensionSignature.size() &&
         content.substr(2, kXmpExtensionSignature.size()) == kXmpExtensionSignature;
}

std::string_view XmpPacketOfSegment(std::string_view content) {
  return IsXmpSegment(kXmpMarker, content) ? content.substr(2 + kXmpSignature.size()) : std::string_view();
}

std::vector<XmpProperty> XmpBlock::Properties() const {
  std::vector<XmpProperty> all = standard.properties;
  all.insert(all.end(), extended.properties.begin(), extended.properties.end());
  return all;
}

XmpBlock ReadXmpBlock(std::string_view standardContent, const std::vector<std::string_view>& extensionContents) {
  XmpBlock block;
  block.standard = ParseXmp(XmpPacketOfSegment(standardContent));
  const std::string guid = block.standard.ExtendedGuid();
  if (guid.empty()) return block;
  if (guid.size() != kGuidSize) {
    block.problem = "xmpNote:HasExtendedXMP is not a GUID";
    return block;
  }
  const std::string packet = Join(guid, extensionContents, block.problem);
  if (block.problem.empty()) block.extended = ParseXmp(packet);
  return block;
}

std::string StandardXmpPayload(std::string_view packet) { return std::string(kXmpSignature) + std::string(packet); }

std::vector<std::string> ExtendedXmpPayloads(std::string_view guid, std::string_view extended) {
  std::vector<std::string> payloads;
  for (size_t offset = 0; offset < extended.size(); offset += kExtendedXmpChunk) {
    payloads.push_back(std::string(kXmpExtensionSignature) + std::string(guid) +
                       BigEndian32(static_cast<uint32_t>(extended.size())) + BigEndian32(static_cast<uint32_t>(offset)) +
                       std::string(extended.substr(offset, kExtendedXmpChunk)));
  }
  return payloads;
}

}  // namespace lumatrim
