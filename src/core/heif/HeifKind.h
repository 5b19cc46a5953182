#pragma once
#include <string>
#include <string_view>

namespace lumatrim {

// Bytes enough to see a file's ftyp box and its usual brands.
constexpr size_t kHeifProbeBytes = 256;

// True when the bytes start with an ftyp box naming a HEIF brand (HEIC,
// HEIF, AVIF and their sequences), as the major or a compatible brand.
bool IsHeifStart(std::string_view firstBytes);
// The same for a file's first kHeifProbeBytes bytes (false when unreadable).
bool IsHeifFile(const std::string& path);

// .heic, .heif, .hif or .avif in any letter case: names the file list shows
// beside JPEGs and the batch writes as .jpg.
bool HasHeifExtension(std::string_view name);

}  // namespace lumatrim
