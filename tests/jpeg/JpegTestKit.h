#pragma once
// Pictures and raw libjpeg streams for the JPEG and batch tests.
#include <jpeglib.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/bytes/ByteSource.h"
#include "core/jpeg/Bitmap.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/JpegSegment.h"

namespace lumatrim::test {

// A photo-like picture: gradients, hard edges and some grain, so that both
// the DCT and the stretch have something to get wrong.
inline Bitmap MakePhoto(int width, int height, unsigned seed = 1) {
  Bitmap b(width, height);
  unsigned state = seed * 2654435761u + 12345u;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      state = state * 1103515245u + 12345u;
      const int grain = static_cast<int>((state >> 16) % 9) - 4;
      uint8_t* px = b.Row(y) + 3 * x;
      px[0] = static_cast<uint8_t>(std::clamp(40 + 180 * x / std::max(width - 1, 1) + grain, 0, 255));
      px[1] = static_cast<uint8_t>(std::clamp(30 + 200 * y / std::max(height - 1, 1) + grain, 0, 255));
      px[2] = static_cast<uint8_t>(((x / 23) + (y / 17)) % 5 == 0 ? 220 : 60 + grain);
    }
  }
  return b;
}

struct RawOptions {
  int components = 3;                   // 1 gray, 3 RGB input, 4 CMYK input
  J_COLOR_SPACE jpegSpace = JCS_YCbCr;  // JCS_GRAYSCALE, JCS_YCbCr, JCS_CMYK, JCS_YCCK
  int hSampling = 2, vSampling = 2;     // of the first component
  int chromaH = 1, chromaV = 1;         // of the others
  bool progressive = false;
  int quality = 90;
};

// Encodes interleaved samples straight through libjpeg: test input in the
// kinds the program's own encoder never writes.
inline std::string EncodeRaw(const std::vector<uint8_t>& samples, int width, int height, const RawOptions& o) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = width;
  c.image_height = height;
  c.input_components = o.components;
  c.in_color_space = o.components == 1 ? JCS_GRAYSCALE : o.components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_colorspace(&c, o.jpegSpace);
  jpeg_set_quality(&c, o.quality, TRUE);
  for (int i = 0; i < c.num_components; ++i) {
    c.comp_info[i].h_samp_factor = i == 0 ? o.hSampling : o.chromaH;
    c.comp_info[i].v_samp_factor = i == 0 ? o.vSampling : o.chromaV;
  }
  if (o.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  for (int y = 0; y < height; ++y) {
    JSAMPROW row = const_cast<uint8_t*>(&samples[static_cast<size_t>(y) * width * o.components]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::string bytes(reinterpret_cast<char*>(out), size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

inline std::string EncodeRgb(const Bitmap& b, const RawOptions& o = {}) {
  return EncodeRaw(b.Bytes, b.Width, b.Height, o);
}

// The photo coded as every kind of stream the streaming decoders must handle,
// by name: samplings, progressive, luma and chroma factors the other way
// round, and gray (its green) and YCCK (a constant K) for the colour spaces.
inline std::vector<std::pair<const char*, std::string>> StreamKinds(const Bitmap& photo) {
  std::vector<uint8_t> gray, cmyk;
  for (size_t i = 0; i < photo.Bytes.size(); i += 3) {
    gray.push_back(photo.Bytes[i + 1]);
    cmyk.insert(cmyk.end(), {photo.Bytes[i], photo.Bytes[i + 1], photo.Bytes[i + 2], 200});
  }
  return {
      {"baseline 4:2:0", EncodeRgb(photo)},
      {"baseline 4:2:2", EncodeRgb(photo, {.hSampling = 2, .vSampling = 1})},
      {"baseline 4:4:0", EncodeRgb(photo, {.hSampling = 1, .vSampling = 2})},
      {"progressive 4:2:0", EncodeRgb(photo, {.progressive = true})},
      {"progressive 4:4:4", EncodeRgb(photo, {.hSampling = 1, .vSampling = 1, .progressive = true})},
      {"luma 2x2, chroma 1x2", EncodeRgb(photo, {.chromaH = 1, .chromaV = 2})},
      {"luma 1x1, chroma 2x2", EncodeRgb(photo, {.hSampling = 1, .vSampling = 1, .chromaH = 2, .chromaV = 2})},
      {"gray", EncodeRaw(gray, photo.Width, photo.Height, {1, JCS_GRAYSCALE, 1, 1})},
      {"ycck", EncodeRaw(cmyk, photo.Width, photo.Height, {4, JCS_YCCK})},
  };
}

inline JpegImage Loaded(const std::string& bytes) {
  JpegImage image;
  image.LoadFromBytes(bytes);
  return image;
}

// The segments up to and including the first SOS, in file order: marker, payload.
inline std::vector<std::pair<int, std::string>> Segments(const std::string& jpeg) {
  std::vector<std::pair<int, std::string>> segments;
  MemorySource source(std::string_view(jpeg).substr(std::min<size_t>(2, jpeg.size())));
  JpegSegmentReader reader(source, JpegSegmentReader::Prefix::Strict, 2);
  JpegSegment segment;
  while (reader.Next(segment)) {
    segments.emplace_back(segment.marker, segment.content.substr(2));
    if (segment.Is(JpegMarker::Sos)) break;
  }
  return segments;
}

inline std::vector<int> SegmentMarkers(const std::string& jpeg) {
  std::vector<int> markers;
  for (const auto& segment : Segments(jpeg)) markers.push_back(segment.first);
  return markers;
}

// The 64 values (zigzag order) of 8-bit quantisation table `id`, or empty.
inline std::vector<int> QuantTable(const std::string& jpeg, int id) {
  for (const auto& [marker, payload] : Segments(jpeg)) {
    if (marker != 0xDB || payload.size() < 65 || payload[0] != id) continue;
    std::vector<int> values;
    for (int i = 1; i <= 64; ++i) values.push_back(static_cast<uint8_t>(payload[i]));
    return values;
  }
  return {};
}

inline double MeanAbsError(const Bitmap& a, const Bitmap& b) {
  if (a.Bytes.size() != b.Bytes.size() || a.Bytes.empty()) return 1e9;
  double sum = 0;
  for (size_t i = 0; i < a.Bytes.size(); ++i) sum += std::abs(int(a.Bytes[i]) - int(b.Bytes[i]));
  return sum / static_cast<double>(a.Bytes.size());
}

}  // namespace lumatrim::test
