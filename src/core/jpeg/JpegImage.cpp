#include "core/jpeg/JpegImage.h"

#include <cerrno>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "core/bytes/AtomicFile.h"
#include "core/bytes/Error.h"
#include "core/color/SrgbConversion.h"
#include "core/jpeg/JpegCodec.h"
#include "core/resample/Resampler.h"

namespace lumatrim {
namespace {

// Even a flat grey progressive stream codes well under 1000 pixels per byte;
// a header claiming thousands of pixels per byte of file is a lie meant to
// make us allocate gigabytes.
constexpr int64_t kMaxPixelsPerByte = 4096;
constexpr int64_t kRatioCheckFrom = 1'000'000;

// CMYK as Adobe writes it is stored inverted (255 = no ink); plain CMYK is not.
void CmykToRgb(const uint8_t* cmyk, uint8_t* rgb, bool inverted) {
  int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
  if (!inverted) {
    c = 255 - c;
    m = 255 - m;
    y = 255 - y;
    k = 255 - k;
  }
  rgb[0] = static_cast<uint8_t>((c * k + 127) / 255);
  rgb[1] = static_cast<uint8_t>((m * k + 127) / 255);
  rgb[2] = static_cast<uint8_t>((y * k + 127) / 255);
}

// Turns decoded rows into sRGB: four-channel rows through their CMYK profile
// (else the plain formula), RGB rows through a profile that is not sRGB.
class RowColors {
 public:
  RowColors(const std::string& icc, bool convertRgb, bool four, bool inverted, int width)
      : four_(four), inverted_(inverted), width_(width) {
    using color::SourcePixels;
    if (four) toSrgb_ = color::SrgbConversion::FromProfile(icc, inverted ? SourcePixels::CmykInverted : SourcePixels::Cmyk);
    else if (convertRgb) toSrgb_ = color::SrgbConversion::FromProfile(icc, SourcePixels::Rgb);
  }
  // True when rows must pass through ToRgb (else the decoder's rows are the result).
  bool Active() const { return four_ || toSrgb_; }
  void ToRgb(const uint8_t* row, uint8_t* rgb) const {
    if (toSrgb_) {
      toSrgb_->ConvertRow(row, rgb, width_);
      return;
    }
    for (int x = 0; x < width_; ++x) CmykToRgb(row + 4 * static_cast<size_t>(x), rgb + 3 * static_cast<size_t>(x), inverted_);
  }

 private:
  std::unique_ptr<color::SrgbConversion> toSrgb_;
  bool four_, inverted_;
  int width_;
};

}  // namespace

std::string ReadPhotoFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LumatrimError(FailureKindOfErrno(errno, FailureKind::ReadFailed), path + ": cannot open the file");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw LumatrimError(FailureKind::ReadFailed, path + ": cannot read the file");
  if (size > JpegImage::kMaxFileBytes) throw LumatrimError(FailureKind::TooLarge, path + ": the file is too large for a photo");
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!in.read(bytes.data(), size)) throw LumatrimError(FailureKind::ReadFailed, path + ": cannot read the file");
  return bytes;
}

bool PlausiblePictureSize(int64_t width, int64_t height, size_t streamBytes) {
  const int64_t pixels = width * height;
  return width > 0 && height > 0 && pixels <= JpegImage::kMaxPixels && width <= JPEG_MAX_DIMENSION &&
         height <= JPEG_MAX_DIMENSION &&
         (pixels <= kRatioCheckFrom || pixels <= kMaxPixelsPerByte * static_cast<int64_t>(streamBytes));
}

void JpegImage::LoadFromFile(const std::string& path) { LoadFromBytes(ReadPhotoFile(path), path); }

void JpegImage::LoadFromBytes(std::string bytes, std::string name) {
  name_ = std::move(name);
  data_ = std::move(bytes);
  picture_ = Bitmap();
  modified_ = false;
  ReadHeader();
}

void JpegImage::ReadHeader() {
  width_ = height_ = components_ = 0;
  progressive_ = false;
  icc_.clear();
  if (data_.size() < 4 || static_cast<uint8_t>(data_[0]) != 0xFF || static_cast<uint8_t>(data_[1]) != 0xD8) {
    data_.clear();
    throw LumatrimError(FailureKind::NotJpeg, name_ + ": not a JPEG file");
  }
  try {
    jpeg::Decompressor d(data_, name_);
    d.KeepIccProfile();
    d.ReadHeader();
    icc_ = d.IccProfile();
    const auto& info = d.Info();
    if (!PlausiblePictureSize(info.image_width, info.image_height, data_.size())) {
      throw LumatrimError(FailureKind::DamagedData, name_ + ": the JPEG header claims an implausible size of " +
                          std::to_string(info.image_width) + " x " + std::to_string(info.image_height) + " pixels");
    }
    width_ = static_cast<int>(info.image_width);
    height_ = static_cast<int>(info.image_height);
    components_ = info.num_components;
    progressive_ = info.progressive_mode != 0;
  } catch (...) {
    data_.clear();
    width_ = height_ = components_ = 0;
    throw;
  }
}

Bitmap JpegImage::Decode(int scaleDenominator) const {
  if (scaleDenominator != 1 && scaleDenominator != 2 && scaleDenominator != 4 && scaleDenominator != 8) {
    throw LumatrimError("unsupported decode scale 1/" + std::to_string(scaleDenominator));
  }
  if (data_.empty()) {
    if (picture_.Empty()) throw LumatrimError("no picture to decode");
    Bitmap reduced((picture_.Width + scaleDenominator - 1) / scaleDenominator,
                   (picture_.Height + scaleDenominator - 1) / scaleDenominator);
    StretchDraw(picture_, reduced);
    return reduced;
  }
  jpeg::Decompressor d(data_, name_);
  d.ReadHeader();
  d.SetOutputScale(1, scaleDenominator);
  d.Start();
  const auto& info = d.Info();
  Bitmap out(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  const bool four = d.FourChannels();
  const RowColors colors(icc_, convertToSrgb_, four, info.saw_Adobe_marker != 0, out.Width);
  if (!colors.Active()) {
    for (int y = 0; y < out.Height; ++y) d.ReadRow(out.Row(y));
    return out;
  }
  std::vector<uint8_t> row(static_cast<size_t>(out.Width) * (four ? 4 : 3));
  for (int y = 0; y < out.Height; ++y) {
    d.ReadRow(row.data());
    colors.ToRgb(row.data(), out.Row(y));
  }
  return out;
}

int JpegImage::PreviewScale(int boxWidth, int boxHeight) const {
  int scale = 1;
  for (int d : {2, 4, 8}) {
    if ((width_ + d - 1) / d >= boxWidth && (height_ + d - 1) / d >= boxHeight) scale = d;
  }
  return scale;
}

Bitmap JpegImage::DecodeResampled(int width, int height, resample::Light light, double headroom) const {
  Bitmap target(width, height);
  if (target.Empty()) throw LumatrimError(name_ + ": cannot make a picture of " + std::to_string(width) + " x " +
                                          std::to_string(height) + " pixels");
  if (data_.empty()) {
    if (picture_.Empty()) throw LumatrimError("no picture to resample");
    return resample::Resample(picture_, width, height, light);
  }
  jpeg::Decompressor d(data_, name_);
  d.ReadHeader();
  d.SetOutputScale(resample::ShrinkOnLoadEighths(width_, height_, width, height, headroom), 8);
  d.Start();
  const auto& info = d.Info();
  const int sourceWidth = static_cast<int>(info.output_width);
  const int sourceHeight = static_cast<int>(info.output_height);
  const bool four = d.FourChannels();
  const RowColors colors(icc_, convertToSrgb_, four, info.saw_Adobe_marker != 0, sourceWidth);
  std::vector<uint8_t> row(static_cast<size_t>(sourceWidth) * (four ? 4 : 3));
  std::vector<uint8_t> rgb(colors.Active() ? static_cast<size_t>(sourceWidth) * 3 : 0);
  resample::Resampler resampler(sourceWidth, sourceHeight, target, light);
  for (int y = 0; y < sourceHeight; ++y) {
    d.ReadRow(row.data());
    if (!colors.Active()) {
      resampler.PushRow(row.data());
      continue;
    }
    colors.ToRgb(row.data(), rgb.data());
    resampler.PushRow(rgb.data());
  }
  return target;
}

void JpegImage::Assign(Bitmap bitmap) {
  picture_ = std::move(bitmap);
  data_.clear();
  width_ = picture_.Width;
  height_ = picture_.Height;
  components_ = 3;
  progressive_ = false;
  modified_ = true;
}

void JpegImage::Compress(int quality, bool progressive) {
  if (picture_.Empty()) throw LumatrimError(name_ + ": no picture to compress");
  quality = std::clamp(quality, 1, 100);
  jpeg::Compressor c(name_);
  c.Setup(picture_.Width, picture_.Height, quality, progressive);
  c.Start();
  constexpr int kBatch = 16;
  JSAMPROW rows[kBatch];
  for (int y = 0; y < picture_.Height; y += kBatch) {
    const int count = std::min(kBatch, picture_.Height - y);
    for (int i = 0; i < count; ++i) rows[i] = picture_.Row(y + i);
    c.WriteRows(rows, static_cast<JDIMENSION>(count));
  }
  c.Finish();
  data_ = c.TakeBytes();
  progressive_ = progressive;
}

void JpegImage::TakeCompressed(std::string data) {
  data_ = std::move(data);
  progressive_ = true;
}

const std::string& JpegImage::Data() const {
  if (data_.empty()) {
    throw LumatrimError(name_ + (picture_.Empty() ? ": no JPEG data" : ": the picture was not compressed"));
  }
  return data_;
}

void JpegImage::SaveToFile(const std::string& path) const { AtomicFile::Write(path, Data()); }

}  // namespace lumatrim
