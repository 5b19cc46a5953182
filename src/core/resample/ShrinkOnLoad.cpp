#include "core/resample/ShrinkOnLoad.h"

#include <cstdint>
#include <initializer_list>

namespace lumatrim::resample {

int ShrinkOnLoadEighths(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight, double headroom) {
  const auto scaled = [](int size, int eighths) { return (int64_t{size} * eighths + 7) / 8; };
  for (int eighths : {1, 2, 4}) {
    if (scaled(sourceWidth, eighths) >= headroom * targetWidth &&
        scaled(sourceHeight, eighths) >= headroom * targetHeight) {
      return eighths;
    }
  }
  return 8;
}

}  // namespace lumatrim::resample
