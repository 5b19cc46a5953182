#include "core/encode/QuantTables.h"

#include <algorithm>
#include <cmath>

namespace lumatrim::encode {
namespace {

// Robidoux's table, one row of the block per line; chroma uses it too, its
// lower resolution already spending fewer bits there.
constexpr std::array<uint16_t, 64> kRobidouxTable = {
    16,  16,  16,  18,  25,  37,  56,  85,
    16,  17,  20,  27,  34,  40,  53,  75,
    16,  20,  24,  31,  43,  62,  91,  135,
    18,  27,  31,  40,  53,  74,  106, 156,
    25,  34,  43,  53,  69,  94,  131, 189,
    37,  40,  62,  74,  94,  124, 169, 238,
    56,  53,  91,  106, 131, 169, 226, 311,
    85,  75,  135, 156, 189, 238, 311, 418,
};

QuantTable Scaled(const std::array<uint16_t, 64>& base, double percent) {
  QuantTable table{};
  for (size_t i = 0; i < 64; ++i) {
    const double step = std::floor((base[i] * percent + 50.0) / 100.0);
    table[i] = static_cast<uint16_t>(std::clamp(step, 1.0, 255.0));
  }
  return table;
}

}  // namespace

const std::array<uint8_t, 64> kZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10,
    17, 24, 32, 25, 18, 11, 4,  5,
    12, 19, 26, 33, 40, 48, 41, 34,
    27, 20, 13, 6,  7,  14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36,
    29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46,
    53, 60, 61, 54, 47, 55, 62, 63,
};

QuantTables TablesForQuality(double quality) {
  quality = std::clamp(quality, 1.0, 100.0);
  const double percent = quality < 50 ? 5000.0 / quality : 200.0 - 2.0 * quality;
  return {Scaled(kRobidouxTable, percent), Scaled(kRobidouxTable, percent)};
}

}  // namespace lumatrim::encode
