#pragma once

namespace lumatrim {

class TImageInfo;

// The short-lived maker-note decoder of one photo: recognises the make,
// picks its directory layout and table and has the photo's TImageInfo walk
// the maker directory. Holds no state beyond the call, so photos on other
// threads decode independently.
class TmsInfo {
 public:
  TmsInfo(bool fromTiffFile, TImageInfo& imageInfo) : ImageInfo(imageInfo), FromTiffFile(fromTiffFile) {}

  // True when CameraMake names a supported make (the walk may still have
  // stopped on damaged bytes; the reason is in the outcome text).
  bool DecodeMakerNote();

  TImageInfo& ImageInfo;
  bool FromTiffFile;  // read from a TIFF file (NEF included), not a JPEG
};

}  // namespace lumatrim
