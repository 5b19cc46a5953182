#pragma once
#include "core/optimize/BatchPhoto.h"
#include "core/optimize/OptimizeSettings.h"

namespace lumatrim {

// Encodes the picture the photo's image holds with our encoder, at the
// quality the settings' mode asks for: the fixed one, the one a size limit
// allows (the metadata counted in) or the lowest whose score reaches the
// target (with a size limit as well: that result when it fits, else the
// best quality that does). Leaves the stream in photo.Image. Throws LumatrimError
// (SizeLimitUnreachable when even the lowest quality is too large).
void EncodeBatchPicture(BatchPhoto& photo, const OptimizeSettings& settings);

// Bytes the photo's file has besides its coded picture: the kept metadata
// segments, written before the picture.
uint64_t MetadataBytes(const BatchPhoto& photo);

}  // namespace lumatrim
