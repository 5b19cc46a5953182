#include "core/optimize/BatchPhoto.h"

#include "core/bytes/Error.h"
#include "core/jpeg/Orientation.h"
#include "core/optimize/BatchEncode.h"
#include "core/jpeg/Thumbnail.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/photo/PhotoEdits.h"
#include "core/photo/PhotoXmp.h"

namespace lumatrim {

std::unique_ptr<BatchPhoto> PrepareBatchPhoto(const std::string& source, const std::string& output,
                                              const OptimizeSettings& settings) {
  auto photo = std::make_unique<BatchPhoto>();
  photo->Source = source;
  photo->Output = output;
  std::string bytes = ReadPhotoFile(source);
  MemorySource header(bytes);
  photo->Meta = ReadJpegMetadata(header, ReadOptions{.depth = ReadDepth::ForWriting});
  photo->Meta.filePath = source;

  JpegImage& image = photo->Image;
  image.LoadFromBytes(std::move(bytes), source);
  // Sizes are chosen for the picture as it is seen; it is turned upright at
  // the target size, where that costs little.
  const PixelTransform upright = UprightTransform(PhotoOrientation(photo->Meta));
  const auto [uprightWidth, uprightHeight] = TransformedSize(image.Width(), image.Height(), upright);
  const auto [width, height] = TargetSize(uprightWidth, uprightHeight, settings);
  photo->KeptSize = width == uprightWidth && height == uprightHeight;
  const auto [storedWidth, storedHeight] = TransformedSize(width, height, upright);
  // Decoding happens here, streamed through the filter into the target
  // size: the full picture is never held.
  Bitmap picture = ApplyTransform(image.DecodeResampled(storedWidth, storedHeight), upright);
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
