#include "core/optimal/OptiPhoto.h"

#include "core/bytes/Error.h"

namespace lumatrim {

std::unique_ptr<OptiPhoto> PrepareOptiPhoto(const std::string& source, const std::string& output,
                                            const OptiSettings& settings) {
  auto photo = std::make_unique<OptiPhoto>();
  photo->Source = source;
  photo->Output = output;
  photo->Meta = std::make_unique<TimgData>();
  photo->Meta->ReadPhoto(source);

  JpegImage& image = photo->Image;
  image.LoadFromFile(source);
  const auto [width, height] = TargetSize(image.Width(), image.Height(), settings);
  // Decoding happens here, straight into the target size: only the rows the
  // stretch keeps are converted, and the full picture is never held.
  Bitmap canvas(width, height);
  image.Draw(canvas);
  image.Assign(std::move(canvas));
  image.Compress(100 - settings.Compression, true);
  image.DropPicture();
  return photo;
}

void WriteOptiPhoto(OptiPhoto& photo) { photo.Meta->SaveJpegWithMetadata(photo.Image, photo.Output, true); }

}  // namespace lumatrim
