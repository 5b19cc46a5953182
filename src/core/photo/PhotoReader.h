#pragma once
#include <memory>
#include <string>

#include "core/bytes/ByteSource.h"
#include "core/bytes/RandomAccessBytes.h"
#include "core/photo/PhotoMetadata.h"

namespace lumatrim {

// Reads a photo's metadata from its file: a JPEG up to its image data, or a
// TIFF/NEF file's directories. The file's first bytes decide which; a file
// they do not name is tried as its name suggests. Never throws: the outcome
// says how the read ended ("<none>" when metadata was found).
PhotoMetadata ReadPhotoMetadata(const std::string& path, const ReadOptions& options = {});

// The same from bytes already at hand. These report only failures: after a
// clean read the outcome stays NotRead, and MetadataPresent() tells the rest.
PhotoMetadata ReadJpegMetadata(ByteSource& input, const ReadOptions& options = {});
PhotoMetadata ReadTiffMetadata(const std::shared_ptr<const RandomAccessBytes>& file, const ReadOptions& options = {});

// Parses the kept EXIF segment again (after an edit of its bytes), so the
// tags and the size entries the writer updates belong to the new bytes.
void ReparseExif(PhotoMetadata& photo);

}  // namespace lumatrim
