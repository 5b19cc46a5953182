#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/jpeg/Bitmap.h"
#include "core/resample/Resampler.h"

struct heif_context;
struct heif_image_handle;

namespace lumatrim {

// The metadata blocks of a HEIF file's primary image, as libheif hands them.
struct HeifBlocks {
  std::string exif;  // the Exif item: 4 bytes offset, then the TIFF block
  std::string xmp;   // the XMP packet (a "mime" item of application/rdf+xml)
  std::string icc;   // the colour profile: the file's own, or one made from its nclx box; empty for sRGB
};

// The primary picture of a HEIF/HEIC/AVIF file over libheif. Only the primary
// image is used (depth maps, gain maps and burst frames are left alone).
// libheif applies the file's irot/imir/clap while decoding, so sizes and
// pixels are upright already: EXIF Orientation is never applied on top.
// Every failure throws LumatrimError (DamagedData for a file libheif refuses).
class HeifImage {
 public:
  static constexpr int64_t kMaxPixels = 400'000'000;  // as for JPEG photos

  HeifImage();
  ~HeifImage();
  HeifImage(HeifImage&&) noexcept;
  HeifImage& operator=(HeifImage&&) noexcept;

  // Parses the file's boxes and finds the primary image; nothing is decoded.
  void LoadFromBytes(std::string bytes, std::string name = "HEIF data");
  void LoadFromFile(const std::string& path);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const HeifBlocks& Blocks() const { return blocks_; }
  bool HasThumbnail() const;

  // On by default: pictures with a profile other than sRGB come out in sRGB.
  void SetConvertToSrgb(bool convert) { convertToSrgb_ = convert; }

  // The whole picture, upright, 8-bit RGB.
  Bitmap Decode() const;
  // Decoded, then its rows (colour-converted one by one) streamed through
  // the Lanczos filter into exactly width x height.
  Bitmap DecodeResampled(int width, int height, resample::Light light = resample::Light::Linear) const;
  // The file's thumbnail image, or an empty bitmap when it has none.
  Bitmap DecodeThumbnail() const;

 private:
  struct Handles;
  struct Decoded;
  Decoded DecodeHandle(heif_image_handle* handle) const;
  void ForEachRow(const Decoded& decoded, const std::function<void(int, const uint8_t*)>& take) const;
  Bitmap DecodeWhole(heif_image_handle* handle) const;

  std::string name_ = "HEIF data";
  std::unique_ptr<std::string> bytes_;  // libheif reads them in place; they must not move
  std::unique_ptr<Handles> handles_;
  HeifBlocks blocks_;
  int width_ = 0;
  int height_ = 0;
  bool convertToSrgb_ = true;
};

}  // namespace lumatrim
