#pragma once
// Photos stored sideways or mirrored, with the EXIF Orientation that says so,
// and the comparisons the orientation tests judge their outputs by.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/jpeg/Bitmap.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/Orientation.h"
#include "core/jpeg/Thumbnail.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "jpeg/JpegTestKit.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {

// The eight turns and mirrors.
constexpr PixelTransform kAllPixelTransforms[] = {
    PixelTransform::None,      PixelTransform::FlipHorizontal, PixelTransform::Rotate180,  PixelTransform::FlipVertical,
    PixelTransform::Transpose, PixelTransform::Rotate90,       PixelTransform::Transverse, PixelTransform::Rotate270,
};

// A picture that looks different after every turn and mirror: red grows to
// the right, green downwards, blue towards the bottom-right corner. Smooth,
// so a JPEG round trip and a reduction change it little.
inline Bitmap LandmarkPicture(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* px = b.Row(y) + 3 * x;
      px[0] = static_cast<uint8_t>(20 + 215 * x / std::max(width - 1, 1));
      px[1] = static_cast<uint8_t>(20 + 215 * y / std::max(height - 1, 1));
      px[2] = static_cast<uint8_t>(30 + 200 * x * y / std::max((width - 1) * (height - 1), 1));
    }
  }
  return b;
}

// The stored pixels of a photo that shows `upright` when its EXIF Orientation
// is `orientation`, written out from the EXIF definition (where row 0 and
// column 0 of the stored picture lie on the picture seen), independently of
// the program's own transforms.
inline Bitmap StoredFor(const Bitmap& upright, int orientation) {
  const int w = upright.Width, h = upright.Height;
  const bool swapped = orientation >= 5;
  Bitmap stored(swapped ? h : w, swapped ? w : h);
  for (int y = 0; y < stored.Height; ++y) {
    for (int x = 0; x < stored.Width; ++x) {
      int ux = x, uy = y;
      switch (orientation) {
        case 2: ux = w - 1 - x; break;                      // row 0 top, column 0 right
        case 3: ux = w - 1 - x; uy = h - 1 - y; break;      // row 0 bottom, column 0 right
        case 4: uy = h - 1 - y; break;                      // row 0 bottom, column 0 left
        case 5: ux = y; uy = x; break;                      // row 0 left, column 0 top
        case 6: ux = w - 1 - y; uy = x; break;              // row 0 right, column 0 top
        case 7: ux = w - 1 - y; uy = h - 1 - x; break;      // row 0 right, column 0 bottom
        case 8: ux = y; uy = h - 1 - x; break;              // row 0 left, column 0 bottom
        default: break;
      }
      std::copy_n(upright.Row(uy) + 3 * ux, 3, stored.Row(y) + 3 * x);
    }
  }
  return stored;
}

// The picture turned a quarter clockwise, as a user turning it right sees it.
inline Bitmap TurnedClockwise(const Bitmap& picture) {
  Bitmap out(picture.Height, picture.Width);
  for (int y = 0; y < out.Height; ++y) {
    for (int x = 0; x < out.Width; ++x) {
      std::copy_n(picture.Row(picture.Height - 1 - x) + 3 * y, 3, out.Row(y) + 3 * x);
    }
  }
  return out;
}

inline Bitmap Cropped(const Bitmap& picture, int width, int height) {
  Bitmap out(width, height);
  for (int y = 0; y < height; ++y) std::copy_n(picture.Row(y), out.Stride(), out.Row(y));
  return out;
}

// Camera-like coding: 4:2:0 colour in 16 x 16 blocks, whatever the program's
// own encoder chooses for its quality.
inline std::string EncodedJpeg(const Bitmap& picture, int quality = 95) {
  return EncodeRgb(picture, {.quality = quality});
}

inline Bitmap DecodedFile(const std::string& path) {
  JpegImage image;
  image.LoadFromFile(path);
  return image.Decode();
}

inline Bitmap DecodedBytes(const std::string& bytes) {
  JpegImage image;
  image.LoadFromBytes(bytes);
  return image.Decode();
}

// Each target pixel the mean of the source pixels it covers: the tests' own
// reduction, simple enough to trust as a reference.
inline Bitmap AreaAverage(const Bitmap& source, int width, int height) {
  Bitmap out(width, height);
  for (int y = 0; y < height; ++y) {
    const int top = y * source.Height / height, bottom = std::max(top + 1, (y + 1) * source.Height / height);
    for (int x = 0; x < width; ++x) {
      const int left = x * source.Width / width, right = std::max(left + 1, (x + 1) * source.Width / width);
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int sy = top; sy < bottom; ++sy)
          for (int sx = left; sx < right; ++sx) sum += source.Row(sy)[3 * sx + c];
        out.Row(y)[3 * x + c] = static_cast<uint8_t>(sum / ((bottom - top) * (right - left)));
      }
    }
  }
  return out;
}

// The worst mean difference of one row or one column, per colour sample: a
// strip of wrongly turned blocks at an edge shows up here even when the rest
// of the picture is right. Infinite when the sizes differ.
inline double WorstLineDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width != b.Width || a.Height != b.Height || a.Empty()) return std::numeric_limits<double>::infinity();
  std::vector<double> rows(static_cast<size_t>(a.Height)), columns(static_cast<size_t>(a.Width));
  for (int y = 0; y < a.Height; ++y) {
    for (int x = 0; x < a.Width; ++x) {
      double d = 0;
      for (int c = 0; c < 3; ++c) d += std::abs(a.Row(y)[3 * x + c] - b.Row(y)[3 * x + c]);
      rows[static_cast<size_t>(y)] += d / 3 / a.Width;
      columns[static_cast<size_t>(x)] += d / 3 / a.Height;
    }
  }
  return std::max(*std::max_element(rows.begin(), rows.end()), *std::max_element(columns.begin(), columns.end()));
}

// How a picture compares with a reference of any size: both reduced to the
// smaller one's size by area averaging, then the worst line.
inline double LooksLike(const Bitmap& picture, const Bitmap& reference) {
  const int w = std::min(picture.Width, reference.Width), h = std::min(picture.Height, reference.Height);
  return WorstLineDifference(AreaAverage(picture, w, h), AreaAverage(reference, w, h));
}

struct OrientedPhotoOptions {
  Order order = Order::Intel;
  Layout layout = Layout::Camera;
  bool thumbnail = true;  // an IFD1 thumbnail of the stored picture, half its size
};

// SOI, APP1 Exif (Make, Orientation, ExifImageWidth/Height of the stored size,
// IFD1 with a thumbnail of the stored picture), then the coded stored picture.
inline std::string OrientedPhoto(const Bitmap& upright, int orientation, const OrientedPhotoOptions& o = {}) {
  const Bitmap stored = StoredFor(upright, orientation);
  Ifd exif;
  exif.Long(0xA002, {uint32_t(stored.Width)}).Long(0xA003, {uint32_t(stored.Height)});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Short(0x0112, {uint16_t(orientation)}).SubIfd(0x8769, exif);
  if (o.thumbnail) {
    Ifd ifd1;
    // As cameras store it: SOI, then the tables, no JFIF header.
    const std::string thumbnail = EncodedJpeg(AreaAverage(stored, stored.Width / 2, stored.Height / 2), 80);
    ifd1.Short(0x0103, {6}).Thumbnail(thumbnail.substr(0, 2) + thumbnail.substr(20));
    ifd0.Next(ifd1);
  }
  const std::string tiff = TiffBuilder(o.order).WithLayout(o.layout).Bytes(ifd0);
  const std::string coded = EncodedJpeg(stored);
  return coded.substr(0, 2) + JpegBuilder().App1Exif(tiff).Bytes() + coded.substr(2);
}

// The photos an outside reader's check runs over: the eight orientations of
// upright, built into folder as built1.jpg .. built8.jpg, then every JPEG of
// the corpus when it is on this machine.
inline std::vector<std::string> UprightCheckSources(const TempDir& folder, const Bitmap& upright,
                                                    const OrientedPhotoOptions& options) {
  std::vector<std::string> sources;
  for (int orientation = 1; orientation <= 8; ++orientation) {
    sources.push_back(WriteFile(folder.File("built" + std::to_string(orientation) + ".jpg"),
                                OrientedPhoto(upright, orientation, options)));
  }
  if (const std::string corpus = CorpusDir(); !corpus.empty()) {
    for (const auto& entry : std::filesystem::directory_iterator(corpus + "/photos")) {
      if (entry.path().extension() == ".jpg") sources.push_back(entry.path().string());
    }
  }
  return sources;
}

// What a reader of a written photo sees: its picture, the EXIF the program's
// own reader finds, and the thumbnail as the detail window shows it.
struct SeenPhoto {
  Bitmap picture;
  int orientation = 0, exifWidth = 0, exifHeight = 0;
  std::string make;
  bool thumbnailDirectory = false;
  Bitmap thumbnail;

  explicit SeenPhoto(const std::string& path) : picture(DecodedFile(path)) {
    PhotoMetadata meta = ReadPhotoMetadata(path);
    if (!meta.exif) return;
    orientation = meta.exif->GetTagInt("Orientation");
    exifWidth = meta.exif->GetTagInt("ExifImageWidth");
    exifHeight = meta.exif->GetTagInt("ExifImageLength");
    make = meta.exif->TagValueByName("Make");
    thumbnailDirectory = meta.exif->Ifd1Offset != 0;
    meta.exif->ParseThumbnailDirectory();
    if (auto thumb = DecodeThumbnail(meta)) thumbnail = thumb->Decode();
  }
  // The thumbnail's proportions are the picture's within 1 %.
  bool ThumbnailInProportion() const {
    if (thumbnail.Empty()) return false;
    const double want = static_cast<double>(picture.Width) / picture.Height;
    return std::abs(static_cast<double>(thumbnail.Width) / thumbnail.Height - want) <= 0.01 * want;
  }
};

}  // namespace lumatrim::test
