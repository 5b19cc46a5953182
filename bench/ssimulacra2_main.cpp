// lumatrim-ssimulacra2 REFERENCE DISTORTED...: prints the SSIMULACRA 2 score
// of each distorted picture against the reference, one line each (just the
// number for one picture, "score path" for several). Pictures are PNG or JPEG.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "PngReader.h"
#include "core/jpeg/JpegImage.h"
#include "core/quality/Ssimulacra2.h"

namespace {

lumatrim::Bitmap Load(const std::string& path) {
  const bool png = path.size() > 4 && (path.ends_with(".png") || path.ends_with(".PNG"));
  if (!png) {
    lumatrim::JpegImage jpeg;
    jpeg.LoadFromFile(path);
    return jpeg.Decode();
  }
  lumatrim::Bitmap picture;
  std::string error;
  if (!lumatrim::testing::ReadPng(path, picture, error)) throw std::runtime_error(error);
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: lumatrim-ssimulacra2 REFERENCE DISTORTED...\n");
    return 2;
  }
  try {
    lumatrim::quality::Ssimulacra2Reference reference(Load(argv[1]));
    for (int i = 2; i < argc; ++i) {
      const double score = reference.Score(Load(argv[i]));
      if (argc == 3)
        std::printf("%.8f\n", score);
      else
        std::printf("%.8f %s\n", score, argv[i]);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "lumatrim-ssimulacra2: %s\n", error.what());
    return 1;
  }
  return 0;
}
