#pragma once
// Pictures and raw libjpeg streams for the JPEG and batch tests.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "core/bytes/EndInd.h"
#include "core/jpeg/Bitmap.h"

namespace lumatrim::test {

// A photo-like picture: smooth gradients, a few hard edges and some grain,
// so that both the DCT and the stretch have something to get wrong.
inline Bitmap MakePhoto(int width, int height, unsigned seed = 1) {
  Bitmap b(width, height);
  unsigned state = seed * 2654435761u + 12345u;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < width; ++x) {
      state = state * 1103515245u + 12345u;
      const int grain = static_cast<int>((state >> 16) % 9) - 4;
      const bool edge = ((x / 23) + (y / 17)) % 5 == 0;
      int r = 40 + 180 * x / (width > 1 ? width - 1 : 1) + grain;
      int g = 30 + 200 * y / (height > 1 ? height - 1 : 1) + grain;
      int bl = edge ? 220 : 60 + grain;
      row[3 * x] = static_cast<uint8_t>(std::clamp(r, 0, 255));
      row[3 * x + 1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
      row[3 * x + 2] = static_cast<uint8_t>(std::clamp(bl, 0, 255));
    }
  }
  return b;
}

struct RawOptions {
  int components = 3;                  // 1 gray, 3 RGB input, 4 CMYK input
  J_COLOR_SPACE jpegSpace = JCS_YCbCr; // JCS_GRAYSCALE, JCS_YCbCr, JCS_CMYK, JCS_YCCK
  int hSampling = 2, vSampling = 2;    // of the first component
  int chromaH = 1, chromaV = 1;        // of the others
  bool progressive = false;
  int quality = 90;
};

// Encodes interleaved samples straight through libjpeg (test input only; the
// program's own encoder writes RGB only). Aborts the test program on error.
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
  c.comp_info[0].h_samp_factor = o.hSampling;
  c.comp_info[0].v_samp_factor = o.vSampling;
  for (int i = 1; i < c.num_components; ++i) {
    c.comp_info[i].h_samp_factor = o.chromaH;
    c.comp_info[i].v_samp_factor = o.chromaV;
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

inline std::string EncodeRgb(const Bitmap& b, const RawOptions& o) { return EncodeRaw(b.Bytes, b.Width, b.Height, o); }

// Offset (0-based) of the first segment with that marker before the scan
// data, or -1.
inline int64_t FindSegment(const std::string& jpeg, uint8_t marker) {
  int64_t pos = 2;
  while (tEndInd::InRange(jpeg, pos + 1, 4) && tEndInd::ByteAt(jpeg, pos + 1) == 0xFF) {
    const uint8_t m = tEndInd::ByteAt(jpeg, pos + 2);
    if (m == marker) return pos;
    if (m == 0xDA) return -1;
    pos += 2 + tEndInd::WordAt(jpeg, pos + 3, true);
  }
  return -1;
}

// The 64 values (in zigzag order) of quantisation table `id`, or empty.
inline std::vector<int> QuantTable(const std::string& jpeg, int id) {
  int64_t pos = 2;
  while (tEndInd::InRange(jpeg, pos + 1, 4) && tEndInd::ByteAt(jpeg, pos + 1) == 0xFF) {
    const uint8_t m = tEndInd::ByteAt(jpeg, pos + 2);
    const int64_t len = tEndInd::WordAt(jpeg, pos + 3, true);
    if (m == 0xDA) break;
    if (m == 0xDB) {
      int64_t p = pos + 5;  // 1-based position of the first table's Pq/Tq byte
      while (p < pos + 3 + len) {
        const uint8_t pqtq = tEndInd::ByteAt(jpeg, p);
        std::vector<int> values;
        for (int i = 0; i < 64; ++i) values.push_back(tEndInd::ByteAt(jpeg, p + 1 + i));
        if ((pqtq & 0x0F) == id) return values;
        p += 65;
      }
    }
    pos += 2 + len;
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
