#pragma once
#include <array>
#include <cstdint>

namespace lumatrim::encode {

// 64 quantiser steps in natural (row by row) order, as libjpeg takes them.
using QuantTable = std::array<uint16_t, 64>;

// The two tables of one encode: luma, then both chroma components.
struct QuantTables {
  QuantTable Luma{};
  QuantTable Chroma{};
};

// Tables for a quality of 1..100 (fractions allowed, so the searches can go
// between whole qualities). The base tables are N. Robidoux's, tuned for
// photographs: gentler than the standard ones on the low frequencies the eye
// sees and harder on the high ones; they are scaled by quality the usual way
// (5000 / q below 50, 200 - 2q above) and kept within 1..255 so every decoder
// that reads baseline JPEG reads them.
QuantTables TablesForQuality(double quality);

// The usual zig-zag scan: kZigZag[k] is the natural index of the k-th coefficient.
extern const std::array<uint8_t, 64> kZigZag;

}  // namespace lumatrim::encode
