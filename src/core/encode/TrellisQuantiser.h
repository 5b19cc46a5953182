#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "core/encode/DctPicture.h"
#include "core/encode/QuantTables.h"

namespace lumatrim::encode {

// One component's quantised blocks, 64 values per block in natural order,
// laid out as its ComponentBlocks.
struct QuantisedComponent {
  int WidthInBlocks = 0;
  int HeightInBlocks = 0;
  std::vector<int16_t> Values;
};

// What the quantiser expects a (run, size) symbol of the AC coefficients to
// cost, in bits, code and extra bits together: one table for luma, one for chroma.
struct AcRates {
  std::array<float, 256> SymbolBits{};  // index: run << 4 | size
};

// The largest magnitudes baseline JPEG codes: AC values in 10 bits; DC
// values so that the difference of two neighbours fits 11 bits.
constexpr int kMaxAcMagnitude = 1023;
constexpr int kMaxDcMagnitude = 1023;

// Rate-distortion optimised quantisation of every block. For each block the
// AC values are chosen by dynamic programming over the zig-zag order: each
// coefficient keeps its rounded value, one less, or becomes zero, whichever
// makes squared error (in units of its quantiser step, so the table's visual
// weights stay in charge) plus lambda times the estimated bits the smallest.
// The bits come from Huffman code lengths of a plain rounding of the same
// picture, so the estimate fits the picture. DC is rounded. Every value fits
// baseline limits, so any decoder reads the result.
class TrellisQuantiser {
 public:
  // lambda: how many units of squared error one bit is worth; 0 gives plain rounding.
  explicit TrellisQuantiser(float lambda = kDefaultLambda) : lambda_(lambda) {}

  static constexpr float kDefaultLambda = 0.12f;

  std::array<QuantisedComponent, 3> Quantise(const DctPicture& picture, const QuantTables& tables) const;

  // Code lengths of plain rounding, one table per luma and chroma.
  static std::array<AcRates, 2> EstimateRates(const DctPicture& picture, const QuantTables& tables);

  // One block: coefficients (natural order) to values (natural order).
  void QuantiseBlock(const float* coefficients, const QuantTable& table, const AcRates& rates,
                     int16_t* values) const;

 private:
  float lambda_;
};

// Plain rounding of one block, half away from zero, within baseline limits.
void RoundBlock(const float* coefficients, const QuantTable& table, int16_t* values);

}  // namespace lumatrim::encode
