#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/heif/HeifImage.h"
#include "core/photo/PhotoMetadata.h"

namespace lumatrim {

// The TIFF block inside a HEIF Exif item, or none when the item's offset
// points outside it or no TIFF header is found there.
std::optional<std::string_view> TiffOfExifItem(std::string_view item);

// The metadata of a HEIF file's blocks as a photo value the JPEG writers
// take: the TIFF block becomes a kept APP1 "Exif" segment (parsed by our own
// EXIF engine), so the batch writes it into its JPEG as it would a JPEG's.
// A TIFF block too large for one APP1 segment is read as a TIFF file instead
// (shown, but not writable: see ExifWritable).
PhotoMetadata HeifPhotoMetadata(const HeifBlocks& blocks, const ReadOptions& options = {});

// Its XMP packet, when it has one, becomes the photo's XMP segments.
// True unless the EXIF of a HEIF file was too large to carry into a JPEG.
bool ExifWritable(const PhotoMetadata& photo);
// True unless the file's XMP packet could not be given to the photo.
bool XmpComplete(const PhotoMetadata& photo, const HeifBlocks& blocks);

// An ICC profile cut into the APP2 "ICC_PROFILE" segments a JPEG carries it
// in (at most 255 of them); empty for an empty or oversized profile.
std::vector<KeptSegment> IccProfileSegments(std::string_view icc);

// ReadPhotoMetadata's reader of HEIF files: the outcome as for a JPEG (Read
// when metadata was found, NotExif when none, IllegalConstruction when the
// file cannot be parsed). Never throws.
PhotoMetadata ReadHeifMetadata(const std::string& path, const ReadOptions& options = {});

}  // namespace lumatrim
