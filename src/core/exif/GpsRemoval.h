#pragma once
#include <string>

namespace lumatrim {

struct PhotoMetadata;  // core/photo/PhotoMetadata.h

// The TIFF block (from its "II"/"MM" header on) without its GPS directory:
// the pointer entry 0x8825 leaves its directory, and the GPS directory and
// the values only it refers to are overwritten with zeros. Everything else
// keeps its place, so offsets into the block (maker notes) stay valid. A block
// without GPS, or one that is not a TIFF block, comes back unchanged.
std::string TiffWithoutGps(const std::string& tiff);

// True when the photo's kept EXIF segment holds a GPS directory pointer.
bool HasGps(const PhotoMetadata& photo);

// Removes the GPS directory from the photo's kept EXIF segment and reads the
// segment again; true when there was one. The file is not written.
bool DropGps(PhotoMetadata& photo);

}  // namespace lumatrim
