#pragma once
#include <functional>
#include <string>

#include "core/photo/PhotoMetadata.h"
#include "core/xmp/XmpEditor.h"

namespace lumatrim {

// A photo's XMP as its kept APP1 segments hold it, and the edits the writers
// make to it. A packet no edit changes keeps its segments byte for byte.

// The standard packet and the extended one joined, from the kept segments.
XmpBlock ReadPhotoXmp(const PhotoMetadata& photo);

// Gives the photo these packets (a photo made from another container's XMP
// item, say): the standard one in one segment, the extended one (when not
// empty) in chunks after it. A standard packet too large for its segment
// loses its padding, or else moves whole into the extended packet. Throws
// LumatrimError (TooLarge) when neither fits.
void SetXmp(PhotoMetadata& photo, const std::string& standard, const std::string& extended = "");

enum class XmpPacketRole { Standard, Extended };

// Applies edit to the standard packet and to the extended one; a changed
// packet is written back into the photo's segments (a changed extended packet
// gets its new GUID in the standard one). True when anything changed.
bool EditXmp(PhotoMetadata& photo, const std::function<void(XmpEditor&, XmpPacketRole)>& edit);
bool EditXmp(PhotoMetadata& photo, const std::function<void(XmpEditor&)>& edit);

// The properties that describe the picture follow a new one: the sizes (where
// the packet states them), tiff:Orientation 1, and no xmp:Thumbnails.
void SetXmpPictureSize(PhotoMetadata& photo, int width, int height);
void MakeXmpUpright(PhotoMetadata& photo);

// True when the XMP holds an exif:GPS* property (at any depth).
bool HasXmpGps(const PhotoMetadata& photo);
// Removes every exif:GPS* property from both packets. A packet that cannot
// be edited (damaged, or an extended packet that does not join) and names
// GPS is dropped whole rather than kept with a position in it. True when
// anything was removed.
bool DropXmpGps(PhotoMetadata& photo);

}  // namespace lumatrim
