// How long a stopped batch takes to end: photos of the given size are
// optimised (own size and to 1200 px), the batch is stopped a moment after
// its first photo is written, and the time from the stop to the batch's
// return is printed in milliseconds. The target is under a second.
//   batch_cancel_bench [MEGAPIXELS=24] [PHOTOS=8]
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "core/jpeg/JpegImage.h"
#include "core/optimize/OptimizeBatch.h"

namespace {

// A noisy photo at quality 92: the slowest kind to decode and encode.
std::string NoisyPhoto(int width, int height) {
  lumatrim::Bitmap picture(width, height);
  uint32_t state = 12345;
  for (uint8_t& byte : picture.Bytes) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(state >> 24);
  }
  lumatrim::JpegImage image;
  image.Assign(std::move(picture));
  image.Compress(92, false);
  return image.Data();
}

}  // namespace

int main(int argc, char** argv) {
  const double megapixels = argc > 1 ? std::atof(argv[1]) : 24;
  const int photos = argc > 2 ? std::atoi(argv[2]) : 8;
  const int height = static_cast<int>(std::sqrt(megapixels * 1e6 * 2 / 3));
  const int width = height * 3 / 2;
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("lumatrim-cancel-" + std::to_string(::getpid()));
  fs::create_directories(dir / "out");
  const std::string bytes = NoisyPhoto(width, height);
  std::vector<std::string> sources;
  for (int i = 0; i < photos; ++i) {
    sources.push_back((dir / ("p" + std::to_string(i) + ".jpg")).string());
    std::ofstream(sources.back(), std::ios::binary) << bytes;
  }
  for (bool keepSize : {true, false}) {
    for (const auto& entry : fs::directory_iterator(dir / "out")) fs::remove(entry.path());
    lumatrim::OptimizeSettings settings;
    settings.TargetFolder = (dir / "out").string();
    settings.KeepSize = keepSize;
    settings.ShortSide = 900;
    settings.LongSide = 1200;
    std::atomic<bool> cancel{false};
    std::atomic<bool> firstWritten{false};
    std::chrono::steady_clock::time_point stoppedAt;
    std::thread batch([&] {
      lumatrim::RunOptimizeBatch(
          sources, settings, [&](int, int, const lumatrim::BatchPhotoResult&) { firstWritten = true; }, &cancel);
    });
    while (!firstWritten) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the workers are inside their next photos
    stoppedAt = std::chrono::steady_clock::now();
    cancel = true;
    batch.join();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - stoppedAt).count();
    std::printf("%s %dx%d: stopped in %.0f ms\n", keepSize ? "own size" : "to 1200 px", width, height, ms);
  }
  fs::remove_all(dir);
  return 0;
}
