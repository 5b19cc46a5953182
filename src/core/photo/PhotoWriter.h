#pragma once
#include <memory>
#include <string>

#include "core/photo/PhotoMetadata.h"

namespace lumatrim {

class JpegImage;  // core/jpeg/JpegImage.h

// Writing a photo's metadata: edits of the kept segments, and JPEG files made
// of SOI, the kept metadata segments and a picture's coded data. Writers throw
// LumatrimError; every file is written to a temporary file beside the target
// and renamed over it.

// The 18-byte APP0 used when no EXIF or APP0 segment is kept.
std::string DefaultJfifHeader();

// Replaces (or adds) the APP13 segment with this payload.
void SetIptcSegment(PhotoMetadata& photo, const std::string& payload);
// An empty APP13 segment and an empty IPTC record, for a photo without one.
void StartEmptyIptc(PhotoMetadata& photo);
void DropExif(PhotoMetadata& photo);
void DropIptc(PhotoMetadata& photo);
// Writes a new picture size into every size entry of the kept EXIF segment
// (and the parser's copy), and into the XMP's size properties.
void SetPictureSize(PhotoMetadata& photo, int height, int width);

// Appends SOI, EXIF (else APP0, else the default header first), APP13, COM
// and the XMP segments, in the order the source had them.
void EmitMetadataSegments(const PhotoMetadata& photo, std::string& stream);

// The kept segments, then the image's coded data (its own metadata segments
// left out). The size entries are written as they stand: a new picture's size
// is set with SetPictureSize first.
void WriteJpegWithMetadata(const PhotoMetadata& photo, const JpegImage& image, const std::string& path);
// Writes the photo read from photo.filePath again, with the kept segments.
void RewritePhoto(const PhotoMetadata& photo, const std::string& path);

// The photo's IPTC record, ready to edit: the one read, or a new empty one.
// Its kept segments stay as read until SaveIptc.
IptcRecord& IptcForEditing(PhotoMetadata& photo);
// Writes the IPTC record into the JPEG file at path, the picture taken from
// sourcePath (from path itself when empty); the XMP counterparts of the
// items set follow (XmpFollowsIptc.h). Everything that can be refused is
// refused before the file is touched.
void SaveIptc(PhotoMetadata& photo, const std::string& path, const std::string& sourcePath = "");

// The EXIF thumbnail as a loaded JPEG image, or null when there is none.
std::unique_ptr<JpegImage> DecodeThumbnail(const PhotoMetadata& photo);

}  // namespace lumatrim
