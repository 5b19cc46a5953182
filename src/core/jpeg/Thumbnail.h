#pragma once
#include <string>
#include <utility>

#include "core/jpeg/Bitmap.h"

namespace lumatrim {

class JpegImage;

// The EXIF thumbnail we write: about this long on its long side, baseline
// JPEG at a modest quality, so it costs a few kilobytes of the 64 KB segment.
constexpr int kThumbnailLongSide = 160;
constexpr int kThumbnailQuality = 75;

// The thumbnail size of a width x height picture: the long side 160 px (or
// the picture's own when it is smaller), the other in proportion, at least 1.
std::pair<int, int> ThumbnailSize(int width, int height);


// The stream without a JFIF APP0 right after SOI: SOI, then its tables at
// once, which is how cameras store thumbnails and where readers look for them.
std::string WithoutJfifHeader(const std::string& stream);

// JPEG bytes (SOI ... EOI, no JFIF header: the EXIF block describes it) of a
// thumbnail of the picture, reduced with the batch's own filter. Empty for an
// empty picture.
std::string EncodeThumbnail(const Bitmap& picture);
// The same from a coded picture, decoded straight into the thumbnail size.
// Throws LumatrimError for a damaged stream.
std::string EncodeThumbnail(const JpegImage& image);

}  // namespace lumatrim
