#pragma once
#include <string>

namespace lumatrim {

// Edits of an APP1 "Exif" segment as the reader keeps it (from its 2-byte length
// field on) that make it describe an upright picture: Orientation 1 and a
// thumbnail of the upright picture. Every other tag keeps its bytes and its
// place; a block these functions cannot walk is left as it is.

// IFD0's Orientation, 1..8; 1 when the block has none or an invalid one.
int ExifOrientation(const std::string& app1);

// The thumbnail that IFD1 points to (JPEGInterchangeFormat and its length),
// or empty when there is none or it lies outside the block.
std::string ExifThumbnail(const std::string& app1);
bool HasThumbnailDirectory(const std::string& app1);

// Sets Orientation to 1 in IFD0 and, where a camera repeats it, in IFD1.
// Returns true when a value changed.
bool SetOrientationNormal(std::string& app1);

enum class ThumbnailEdit {
  NoThumbnailDirectory,  // no IFD1: none is added
  Replaced,
  Removed,  // IFD1 unlinked: no thumbnail (not a JPEG one, or the new one did not fit)
};

// Puts jpeg (width x height) in place of IFD1's thumbnail and updates
// JPEGInterchangeFormat/Length, IFD1's ImageWidth/ImageLength where present
// and the segment's length. The old thumbnail's bytes are cut off when they
// end the block, reused when the new one fits there, else zeroed and the new
// one appended. An empty jpeg, an IFD1 without a JPEG thumbnail, or a block
// that would outgrow one segment unlink IFD1 instead, so no reader shows a
// picture that no longer matches.
ThumbnailEdit ReplaceThumbnail(std::string& app1, const std::string& jpeg, int width, int height);

}  // namespace lumatrim
