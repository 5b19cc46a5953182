// Our encoder against the plain libjpeg-turbo one, inside one process:
//   encode_probe curve LONG_SIDE LAMBDA SAMPLING PHOTO...
// prints encoder_compare.sh's CSV points for qualities 30..98 of each photo
// resized to LONG_SIDE, SSIMULACRA 2 against the resized picture, for
// "today" (libjpeg-turbo's defaults as the batch used them) and "ours" with
// that trellis lambda and SAMPLING (auto, 420 or 444), for trying settings
// quickly: encode_probe curve ... | bench/lib/bd_rate.py /dev/stdin today.
//   encode_probe time LONG_SIDE QUALITY PHOTO...
// prints the CPU milliseconds of each encoder's encode.
//   encode_probe plain QUALITY INPUT OUTPUT
// writes INPUT's picture encoded as the batch did before our encoder.
//   encode_probe input LONG_SIDE PHOTO OUTPUT
// writes PHOTO resized to LONG_SIDE as the former batch did at compression 0
// (a comparison's common input).
//   encode_probe score SOURCE OUTPUT...
// prints "score output" of each optimised OUTPUT against SOURCE resized to
// the output's size, as the batch resized it.
//   encode_probe worstfixed TARGET LONG_SIDE PHOTO...
// prints the lowest whole quality at which our fixed-quality encode reaches
// TARGET on every photo (the quality the worst photo needs).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/encode/PhotoEncoder.h"
#include "core/encode/QualitySearch.h"
#include "core/jpeg/JpegImage.h"
#include "core/optimize/BatchMemory.h"
#include "core/optimize/OptimizeSettings.h"
#include "core/quality/Ssimulacra2.h"

namespace {

using namespace lumatrim;

Bitmap Resized(const char* path, int longSide) {
  JpegImage image;
  image.LoadFromFile(path);
  OptimizeSettings settings;
  settings.LongSide = longSide;
  settings.Rule = SizeRule::LongSideFixed;
  const auto [width, height] = TargetSize(image.Width(), image.Height(), settings);
  return image.DecodeResampled(width, height);
}

std::string Plain(const Bitmap& picture, int quality) {
  JpegImage plain;
  plain.Assign(picture);
  plain.Compress(quality, true);
  return plain.Data();
}

Bitmap Decoded(const std::string& bytes) {
  JpegImage image;
  image.LoadFromBytes(bytes);
  return image.Decode();
}

double CpuMs(std::clock_t ticks) { return 1000.0 * static_cast<double>(ticks) / CLOCKS_PER_SEC; }

}  // namespace

int main(int argc, char** argv) {
  KeepBatchBuffersForReuse();
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "curve" && argc > 5) {
      const int longSide = std::atoi(argv[2]);
      const float lambda = static_cast<float>(std::atof(argv[3]));
      const std::string sampling = argv[4];
      std::printf("photo,curve,setting,bytes,ssimulacra2,butteraugli\n");
      for (int i = 5; i < argc; ++i) {
        const Bitmap picture = Resized(argv[i], longSide);
        quality::Ssimulacra2Reference reference(picture);
        encode::PhotoEncoder encoder(picture, argv[i], lambda);
        for (int q = 30; q <= 98; q += 4) {
          const std::string plain = Plain(picture, q);
          std::printf("%s,today,%d,%zu,%.3f,\n", argv[i], q, plain.size(), reference.Score(Decoded(plain)));
          const encode::ChromaSampling chosen = sampling == "444"   ? encode::ChromaSampling::Full
                                                : sampling == "420" ? encode::ChromaSampling::Quarter
                                                                    : encode::SamplingForQuality(q);
          const std::string ours = encoder.Encode(q, chosen, encode::ScanTrial::Smallest);
          std::printf("%s,ours,%d,%zu,%.3f,\n", argv[i], q, ours.size(), reference.Score(Decoded(ours)));
          std::fflush(stdout);
        }
      }
      return 0;
    }
    if (mode == "time" && argc > 4) {
      const int longSide = std::atoi(argv[2]);
      const int quality = std::atoi(argv[3]);
      double plainMs = 0, oursMs = 0;
      for (int i = 4; i < argc; ++i) {
        const Bitmap picture = Resized(argv[i], longSide);
        std::clock_t start = std::clock();
        Plain(picture, quality);
        plainMs += CpuMs(std::clock() - start);
        start = std::clock();
        encode::PhotoEncoder(picture, argv[i]).Encode(quality);
        oursMs += CpuMs(std::clock() - start);
      }
      std::printf("encode cpu ms per photo: plain %.1f ours %.1f\n", plainMs / (argc - 4), oursMs / (argc - 4));
      return 0;
    }
    if (mode == "plain" && argc == 5) {
      JpegImage input;
      input.LoadFromFile(argv[3]);
      const std::string stream = Plain(input.Decode(), std::atoi(argv[2]));
      JpegImage output;
      output.LoadFromBytes(stream);
      output.SaveToFile(argv[4]);
      return 0;
    }
    if (mode == "input" && argc == 5) {
      JpegImage output;
      output.LoadFromBytes(Plain(Resized(argv[3], std::atoi(argv[2])), 100));
      output.SaveToFile(argv[4]);
      return 0;
    }
    if (mode == "score" && argc > 3) {
      JpegImage source;
      source.LoadFromFile(argv[2]);
      for (int i = 3; i < argc; ++i) {
        JpegImage output;
        output.LoadFromFile(argv[i]);
        const Bitmap reference = source.DecodeResampled(output.Width(), output.Height());
        std::printf("%.3f %s\n", quality::Ssimulacra2(reference, output.Decode()), argv[i]);
      }
      return 0;
    }
    if (mode == "worstfixed" && argc > 4) {
      const double target = std::atof(argv[2]);
      const int longSide = std::atoi(argv[3]);
      int worst = 1;
      for (int i = 4; i < argc; ++i) {
        const Bitmap picture = Resized(argv[i], longSide);
        quality::Ssimulacra2Reference reference(picture);
        encode::PhotoEncoder encoder(picture, argv[i]);
        const int quality = encode::FirstQualityReaching(
            [&](int q) { return reference.Score(Decoded(encoder.Encode(q, encode::ScanTrial::One))); }, target, 80);
        worst = std::max(worst, std::min(quality, 100));
      }
      std::printf("%d\n", worst);
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "encode_probe: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "usage: encode_probe curve LONG_SIDE LAMBDA SAMPLING PHOTO... | time LONG_SIDE QUALITY PHOTO...\n");
  return 2;
}
