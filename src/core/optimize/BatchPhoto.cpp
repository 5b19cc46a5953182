#include "core/optimize/BatchPhoto.h"

#include "core/bytes/Error.h"
#include "core/color/SrgbConversion.h"
#include "core/heif/HeifImage.h"
#include "core/heif/HeifKind.h"
#include "core/heif/HeifMetadata.h"
#include "core/jpeg/Orientation.h"
#include "core/optimize/BatchEncode.h"
#include "core/jpeg/Thumbnail.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/photo/PhotoEdits.h"
#include "core/photo/PhotoXmp.h"

namespace lumatrim {

namespace {

// A JPEG source: metadata read from the same bytes, the picture decoded
// straight into its target size and turned upright by its EXIF Orientation.
Bitmap DecodeJpegSource(BatchPhoto& photo, std::string bytes, const OptimizeSettings& settings) {
  MemorySource header(bytes);
  photo.Meta = ReadJpegMetadata(header, ReadOptions{.depth = ReadDepth::ForWriting});
  photo.Meta.filePath = photo.Source;

  JpegImage& image = photo.Image;
  image.LoadFromBytes(std::move(bytes), photo.Source);
  image.SetConvertToSrgb(settings.ConvertToSrgb);
  // The profile goes with the output only while the pixels keep its values:
  // an RGB photo whose colours the user asked to keep, or whose profile
  // cannot be read (nothing was converted, so nothing is lost).
  const color::ProfileSpace space = color::SpaceOfProfile(image.IccProfile());
  const bool keepProfile = image.Components() == 3 && (space == color::ProfileSpace::Unreadable ||
                                                       (space == color::ProfileSpace::Rgb && !settings.ConvertToSrgb));
  if (!keepProfile) DropIccProfile(photo.Meta);
  // Sizes are chosen for the picture as it is seen; it is turned upright at
  // the target size, where that costs little.
  const PixelTransform upright = UprightTransform(PhotoOrientation(photo.Meta));
  const auto [uprightWidth, uprightHeight] = TransformedSize(image.Width(), image.Height(), upright);
  const auto [width, height] = TargetSize(uprightWidth, uprightHeight, settings);
  photo.KeptSize = width == uprightWidth && height == uprightHeight;
  const auto [storedWidth, storedHeight] = TransformedSize(width, height, upright);
  // Decoding happens here, streamed through the filter into the target
  // size: the full picture is never held.
  return ApplyTransform(image.DecodeResampled(storedWidth, storedHeight), upright);
}

// A HEIF source: libheif's pixels are upright already, so the EXIF
// Orientation is only reset, never applied.
Bitmap DecodeHeifSource(BatchPhoto& photo, std::string bytes, const OptimizeSettings& settings) {
  HeifImage image;
  image.LoadFromBytes(std::move(bytes), photo.Source);
  image.SetConvertToSrgb(settings.ConvertToSrgb);
  photo.Meta = HeifPhotoMetadata(image.Blocks(), ReadOptions{.depth = ReadDepth::ForWriting});
  photo.Meta.filePath = photo.Source;
  if (!ExifWritable(photo.Meta) || !XmpComplete(photo.Meta, image.Blocks())) {
    throw LumatrimError(FailureKind::TooLarge, "\"" + photo.Source + "\": its EXIF or XMP block is too large for a JPEG file");
  }
  if (!settings.ConvertToSrgb) {
    for (KeptSegment& segment : IccProfileSegments(image.Blocks().icc)) photo.Meta.segments.push_back(std::move(segment));
  }
  const auto [width, height] = TargetSize(image.Width(), image.Height(), settings);
  return image.DecodeResampled(width, height);
}

}  // namespace

std::unique_ptr<BatchPhoto> PrepareBatchPhoto(const std::string& source, const std::string& output,
                                              const OptimizeSettings& settings) {
  auto photo = std::make_unique<BatchPhoto>();
  photo->Source = source;
  photo->Output = output;
  std::string bytes = ReadPhotoFile(source);
  // A HEIF photo never counts as kept: its output must be a JPEG, never a copy.
  Bitmap picture = IsHeifStart(bytes) ? DecodeHeifSource(*photo, std::move(bytes), settings)
                                      : DecodeJpegSource(*photo, std::move(bytes), settings);
  JpegImage& image = photo->Image;
  // The kept EXIF thumbnail would show the source as it was stored.
  MakeExifUpright(photo->Meta, PhotoHasThumbnailDirectory(photo->Meta) ? EncodeThumbnail(picture) : std::string());
  MakeXmpUpright(photo->Meta);
  image.Assign(std::move(picture));
  SetPictureSize(photo->Meta, image.Height(), image.Width());
  EncodeBatchPicture(*photo, settings);
  image.DropPicture();
  return photo;
}

void WriteBatchPhoto(BatchPhoto& photo) {
  SetPictureSize(photo.Meta, photo.Image.Height(), photo.Image.Width());
  WriteJpegWithMetadata(photo.Meta, photo.Image, photo.Output);
}

}  // namespace lumatrim
