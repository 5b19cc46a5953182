#pragma once
#include <string>

#include "core/photo/PhotoMetadata.h"

namespace lumatrim {

// Edits of a photo's kept EXIF segment before a writer writes it: the
// segment-level edits of core/exif (ExifUpright.h, GpsRemoval.h) applied to
// the photo as read.

// The upright edits on a photo's kept EXIF segment, for the writers: it
// gets Orientation 1 and the thumbnail. The image sizes are the
// writer's job (SetPictureSize).
int PhotoOrientation(const PhotoMetadata& photo);
bool PhotoHasThumbnailDirectory(const PhotoMetadata& photo);
std::string PhotoThumbnail(const PhotoMetadata& photo);
void MakeExifUpright(PhotoMetadata& photo, const std::string& thumbnailJpeg);

// True when the photo's kept EXIF segment holds a GPS directory pointer, or
// its XMP an exif:GPS* property.
bool HasGps(const PhotoMetadata& photo);

// Where a GPS removal found a position.
struct GpsRemoved {
  bool exif = false;  // the GPS directory
  bool xmp = false;   // exif:GPS* properties (PhotoXmp.h)
  bool Any() const { return exif || xmp; }
};

// Removes the GPS directory from the photo's kept EXIF segment (and reads the
// segment again) and the position from its XMP. The file is not written.
GpsRemoved RemoveGps(PhotoMetadata& photo);
// The same; true when there was a position.
bool DropGps(PhotoMetadata& photo);

// Leaves the kept ICC profile segments out of the photo's next write (its
// pixels were converted to sRGB, or cannot use the profile).
void DropIccProfile(PhotoMetadata& photo);

}  // namespace lumatrim
