// The resampler alone, without the encoder: decodes a JPEG resampled to
// W x H and writes it as a binary PPM, so a quality run can score the filter
// and the shrink-on-load headroom apart from JPEG coding.
//   resample_probe IN.jpg OUT.ppm W H [linear|gamma] [HEADROOM]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "core/jpeg/JpegImage.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: resample_probe IN.jpg OUT.ppm W H [linear|gamma] [HEADROOM]\n");
    return 2;
  }
  try {
    const auto light = argc > 5 && std::string(argv[5]) == "gamma" ? lumatrim::resample::Light::Gamma
                                                                   : lumatrim::resample::Light::Linear;
    const double headroom = argc > 6 ? std::atof(argv[6]) : lumatrim::resample::kShrinkHeadroom;
    lumatrim::JpegImage image;
    image.LoadFromFile(argv[1]);
    const lumatrim::Bitmap b = image.DecodeResampled(std::atoi(argv[3]), std::atoi(argv[4]), light, headroom);
    FILE* out = std::fopen(argv[2], "wb");
    if (!out) return 1;
    std::fprintf(out, "P6\n%d %d\n255\n", b.Width, b.Height);
    std::fwrite(b.Bytes.data(), 1, b.Bytes.size(), out);
    return std::fclose(out) == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "resample_probe: %s\n", e.what());
    return 1;
  }
}
