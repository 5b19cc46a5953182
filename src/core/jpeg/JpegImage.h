#pragma once
#include <cstdint>
#include <string>

#include "core/jpeg/Bitmap.h"
#include "core/resample/Resampler.h"
#include "core/resample/ShrinkOnLoad.h"

namespace lumatrim {

// One JPEG picture over libjpeg: loaded compressed bytes and/or a bitmap
// taken over for compression. Every failure (unreadable file, damaged or
// absurd stream) throws LumatrimError with a message naming the cause; libjpeg
// never exits the program or jumps past C++ objects.
//
// The object is not shared between threads, but different objects may be used
// on different threads at the same time.
class JpegImage {
 public:
  // Streams claiming more pixels than this are refused before decoding
  // (about 1.2 GB of RGB); so are streams claiming far more pixels than
  // their bytes could plausibly code.
  static constexpr int64_t kMaxPixels = 400'000'000;
  static constexpr int64_t kMaxFileBytes = int64_t{1} << 30;

  JpegImage() = default;

  // Keeps the bytes exactly as loaded and reads the header (size, colour
  // space); nothing is decoded yet. Throws for a file that cannot be read,
  // a stream that is not a JPEG or a header with an absurd size.
  void LoadFromFile(const std::string& path);
  // name stands for the bytes in error texts (the file they came from).
  void LoadFromBytes(std::string bytes, std::string name = "JPEG data");

  // True when the object holds neither compressed bytes nor a bitmap.
  bool Empty() const { return data_.empty() && picture_.Empty(); }
  // Size of the loaded stream (from its header), or of the bitmap taken over.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Colour components of the loaded stream (1 gray, 3 YCbCr/RGB, 4 CMYK/YCCK).
  int Components() const { return components_; }
  bool Progressive() const { return progressive_; }
  // The stream's embedded ICC colour profile, empty when it has none.
  const std::string& IccProfile() const { return icc_; }
  // On by default: decodes of a stream whose profile is not sRGB (Adobe RGB,
  // Display P3, a CMYK press profile) give sRGB, converted row by row.
  // Off, RGB streams keep their values (CMYK is converted all the same: an
  // RGB picture cannot use a CMYK profile).
  void SetConvertToSrgb(bool convert) { convertToSrgb_ = convert; }
  // True once a bitmap was taken over (until it is compressed, Data() is empty).
  bool Modified() const { return modified_; }

  // Full decode to RGB (islow DCT, fancy upsampling). With scaleDenominator
  // 2, 4 or 8 libjpeg's DCT scaling gives a reduced picture for previews;
  // sizes are ceil(Width / d) x ceil(Height / d).
  Bitmap Decode(int scaleDenominator = 1) const;
  // The largest scale denominator (1, 2, 4 or 8) whose reduced picture still
  // covers a box of that size, for previews that are reduced further.
  int PreviewScale(int boxWidth, int boxHeight) const;

  // Decodes and resamples to exactly width x height with the Lanczos filter
  // (averaging when reducing, interpolating when enlarging). libjpeg-turbo
  // first decodes straight into a smaller picture where the photo is much
  // larger than the target (ShrinkOnLoadEighths); its rows stream through the
  // filter, so neither the full picture nor the reduced one is held. A
  // taken-over bitmap is resampled from memory. Throws LumatrimError.
  Bitmap DecodeResampled(int width, int height, resample::Light light = resample::Light::Linear,
                         double headroom = resample::kShrinkHeadroom) const;

  // Takes over a bitmap as the picture; the compressed bytes are dropped
  // until Compress runs.
  void Assign(Bitmap bitmap);
  const Bitmap& Picture() const { return picture_; }

  // Encodes the bitmap taken over: quality 1..100 (0 or less is raised to 1,
  // above 100 lowered to 100) scaling the standard tables with
  // baseline-compatible values, 24-bit YCbCr (4:2:0, or 4:4:4 from quality
  // 90 up), the simple progressive scan script when progressive. Afterwards Data() holds the new stream.
  void Compress(int quality, bool progressive = true);

  // Keeps a progressive stream our own encoder made of the bitmap taken over
  // as the new compressed data (as Compress would).
  void TakeCompressed(std::string data);

  // Frees the bitmap once it is compressed (size and data stay), so a photo
  // waiting to be written holds only its coded bytes.
  void DropPicture() { picture_ = Bitmap(); }

  // The complete JPEG data (SOI ... EOI): the bytes as loaded while not
  // modified, otherwise the last compressed stream. Throws when there is no
  // compressed data (empty object, or a bitmap not yet compressed).
  const std::string& Data() const;
  // Writes Data() to a temporary file beside path, then renames it over path.
  void SaveToFile(const std::string& path) const;

 private:
  void ReadHeader();

  std::string name_ = "JPEG data";  // the file name in messages
  std::string data_;
  std::string icc_;
  Bitmap picture_;
  int width_ = 0;
  int height_ = 0;
  int components_ = 0;
  bool progressive_ = false;
  bool modified_ = false;
  bool convertToSrgb_ = true;
};

// False for a header size no real stream of that many bytes has: beyond
// kMaxPixels or libjpeg's limit, or far more pixels than the bytes could code.
bool PlausiblePictureSize(int64_t width, int64_t height, size_t streamBytes);

// A photo file's bytes, refused (LumatrimError) when it cannot be read or is
// larger than JpegImage::kMaxFileBytes.
std::string ReadPhotoFile(const std::string& path);

}  // namespace lumatrim
