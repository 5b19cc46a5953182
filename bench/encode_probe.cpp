// Encodes one photo at one size and quality with the plain libjpeg-turbo
// encoder and with ours, and writes both: for bench/encoder_compare.sh.
//   encode_probe PHOTO LONG_SIDE QUALITY OUT_PREFIX [LAMBDA]
// Writes OUT_PREFIX.plain.jpg, OUT_PREFIX.ours.jpg and OUT_PREFIX.png-like
// reference as a baseline quality-100 4:4:4 JPEG is not exact: the resized
// picture goes to OUT_PREFIX.ppm.
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "core/encode/PhotoEncoder.h"
#include "core/encode/QuantTables.h"
#include "core/jpeg/JpegImage.h"
#include "core/optimize/BatchMemory.h"
#include "core/optimize/OptimizeSettings.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: encode_probe PHOTO LONG_SIDE QUALITY OUT_PREFIX [LAMBDA]\n");
    return 2;
  }
  lumatrim::KeepBatchBuffersForReuse();
  try {
    lumatrim::JpegImage image;
    image.LoadFromFile(argv[1]);
    lumatrim::OptimizeSettings settings;
    settings.LongSide = std::atoi(argv[2]);
    settings.Rule = lumatrim::SizeRule::LongSideFixed;
    settings.KeepSize = settings.LongSide <= 0;
    const auto [width, height] = lumatrim::TargetSize(image.Width(), image.Height(), settings);
    lumatrim::Bitmap picture = image.DecodeResampled(width, height);
    const double quality = std::atof(argv[3]);
    const std::string prefix = argv[4];
    const float lambda = argc > 5 ? static_cast<float>(std::atof(argv[5])) : lumatrim::encode::TrellisQuantiser::kDefaultLambda;
    std::ofstream(prefix + ".ppm", std::ios::binary)
        << "P6\n" << picture.Width << " " << picture.Height << "\n255\n"
        << std::string(reinterpret_cast<const char*>(picture.Bytes.data()), picture.Bytes.size());
    const std::clock_t start = std::clock();
    lumatrim::encode::PhotoEncoder encoder(picture, argv[1], lambda);
    const std::string ours = encoder.Encode(quality);
    if (std::getenv("PROBE_PARTS")) {
      std::clock_t t0 = std::clock();
      auto dct = lumatrim::encode::TransformPicture(picture, lumatrim::encode::SamplingForQuality(quality));
      std::clock_t t1 = std::clock();
      lumatrim::encode::TrellisQuantiser(lambda).Quantise(dct, lumatrim::encode::TablesForQuality(quality));
      std::clock_t t2 = std::clock();
      encoder.Encode(quality, lumatrim::encode::ScanTrial::One);
      std::clock_t t3 = std::clock();
      std::printf("dct %.1f quantise %.1f one-script encode %.1f ms\n", (t1 - t0) * 1e3 / CLOCKS_PER_SEC,
                  (t2 - t1) * 1e3 / CLOCKS_PER_SEC, (t3 - t2) * 1e3 / CLOCKS_PER_SEC);
    }
    const std::clock_t middle = std::clock();
    lumatrim::JpegImage plain;
    plain.Assign(picture);
    plain.Compress(static_cast<int>(quality), true);
    const std::clock_t end = std::clock();
    std::ofstream(prefix + ".ours.jpg", std::ios::binary) << ours;
    std::ofstream(prefix + ".plain.jpg", std::ios::binary) << plain.Data();
    const auto ms = [](std::clock_t ticks) { return 1000.0 * static_cast<double>(ticks) / CLOCKS_PER_SEC; };
    std::printf("%d x %d  plain %zu B %.1f ms cpu  ours %zu B %.1f ms cpu\n", width, height, plain.Data().size(),
                ms(end - middle), ours.size(), ms(middle - start));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "encode_probe: %s\n", e.what());
    return 1;
  }
  return 0;
}
