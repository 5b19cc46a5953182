#pragma once
#include <memory>
#include <string>

#include "core/photo/PhotoMetadata.h"
#include "core/jpeg/JpegImage.h"
#include "core/optimize/OptimizeSettings.h"

namespace lumatrim {

// One photo of the batch, encoded and waiting to be written.
struct BatchPhoto {
  std::string Source;
  std::string Output;
  PhotoMetadata Meta;              // what the writer needs of the source's metadata
  JpegImage Image;                 // the new coded picture (bitmap already dropped)
  bool KeptSize = false;           // the picture has the source's own size
};

// Reads the source's file once (a JPEG, or a HEIF/HEIC/AVIF picture known by
// its bytes): what the writer needs of its metadata (its
// outcome is not consulted: a photo without metadata is processed all the
// same), then decodes the photo (in sRGB unless settings keep its profile) resampled to its
// target size (TargetSize of the upright picture) with the Lanczos filter,
// turns it upright by its EXIF Orientation, and compresses it progressive
// with our encoder at the quality the settings' mode gives (EncodeBatchPicture). Its EXIF gets Orientation 1 and a thumbnail of
// the new picture. Writes nothing. Throws LumatrimError.
std::unique_ptr<BatchPhoto> PrepareBatchPhoto(const std::string& source, const std::string& output,
                                              const OptimizeSettings& settings);

// The write step: SOI, the source's EXIF (with the new width and height) or
// its APP0 or a default JFIF header, APP13, COM, ICC profile, then the new
// coded picture, through a temporary file renamed over the output.
void WriteBatchPhoto(BatchPhoto& photo);

}  // namespace lumatrim
