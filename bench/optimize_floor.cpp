// The floor of the optimisation batch: a full-size decode of every photo
// (islow DCT, fancy upsampling, as the batch decodes) and nothing else.
//   optimize_floor FILE...   prints the seconds taken for all files
#include <chrono>
#include <cstdio>
#include <exception>

#include "core/jpeg/JpegImage.h"

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  size_t checksum = 0;
  try {
    for (int i = 1; i < argc; ++i) {
      lumatrim::JpegImage image;
      image.LoadFromFile(argv[i]);
      const lumatrim::Bitmap b = image.Decode();
      checksum += b.Bytes[b.Bytes.size() / 2];
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "optimize_floor: %s\n", e.what());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.4f\n", seconds);
  std::fprintf(stderr, "checksum %zu\n", checksum);
  return 0;
}
