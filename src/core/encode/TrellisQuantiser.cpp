#include "core/encode/TrellisQuantiser.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace lumatrim::encode {
namespace {

constexpr int kEndOfBlock = 0x00;
constexpr int kZeroRun16 = 0xF0;

// Bits needed for a magnitude (JPEG's "size" category).
int SizeCategory(int magnitude) { return magnitude == 0 ? 0 : std::bit_width(static_cast<unsigned>(magnitude)); }

int RoundMagnitude(float normalised, int limit) {
  return std::min(static_cast<int>(std::fabs(normalised) + 0.5f), limit);
}

const AcRates& RatesFor(const std::array<AcRates, 2>& rates, int component) { return rates[component == 0 ? 0 : 1]; }
const QuantTable& TableFor(const QuantTables& tables, int component) {
  return component == 0 ? tables.Luma : tables.Chroma;
}

}  // namespace

void RoundBlock(const float* coefficients, const QuantTable& table, int16_t* values) {
  for (int i = 0; i < 64; ++i) {
    const float normalised = coefficients[i] / table[i];
    const int magnitude = RoundMagnitude(normalised, i == 0 ? kMaxDcMagnitude : kMaxAcMagnitude);
    values[i] = static_cast<int16_t>(normalised < 0 ? -magnitude : magnitude);
  }
}

std::array<AcRates, 2> TrellisQuantiser::EstimateRates(const DctPicture& picture, const QuantTables& tables) {
  std::array<std::array<double, 256>, 2> counts{};
  int16_t values[64];
  for (int c = 0; c < 3; ++c) {
    const ComponentBlocks& blocks = picture.Components[c];
    auto& count = counts[c == 0 ? 0 : 1];
    const size_t blockCount = blocks.Coefficients.size() / 64;
    for (size_t b = 0; b < blockCount; ++b) {
      RoundBlock(blocks.Coefficients.data() + b * 64, TableFor(tables, c), values);
      int run = 0;
      for (int k = 1; k < 64; ++k) {
        const int value = values[kZigZag[k]];
        if (value == 0) {
          ++run;
          continue;
        }
        for (; run >= 16; run -= 16) count[kZeroRun16] += 1;
        count[(run << 4) | SizeCategory(std::abs(value))] += 1;
        run = 0;
      }
      if (run > 0) count[kEndOfBlock] += 1;
    }
  }
  std::array<AcRates, 2> rates;
  for (int t = 0; t < 2; ++t) {
    double total = 0;
    for (double n : counts[t]) total += n + 0.5;
    for (int symbol = 0; symbol < 256; ++symbol) {
      // A symbol never seen still gets a long code, not an infinite one.
      const double bits = std::clamp(-std::log2((counts[t][symbol] + 0.5) / total), 1.0, 16.0);
      rates[t].SymbolBits[symbol] = static_cast<float>(bits + (symbol & 15));
    }
  }
  return rates;
}

void TrellisQuantiser::QuantiseBlock(const float* coefficients, const QuantTable& table, const AcRates& rates,
                                     int16_t* values) const {
  RoundBlock(coefficients, table, values);
  if (lambda_ <= 0) return;
  // Zig-zag order from here on; index 0 is the start of the chain (after DC).
  float magnitude[64];
  int rounded[64];
  float zeroCostUpTo[64];  // squared error of zeroing coefficients 1..k
  zeroCostUpTo[0] = 0;
  for (int k = 1; k < 64; ++k) {
    const int natural = kZigZag[k];
    magnitude[k] = std::fabs(coefficients[natural] / table[natural]);
    rounded[k] = std::abs(values[natural]);
    zeroCostUpTo[k] = zeroCostUpTo[k - 1] + magnitude[k] * magnitude[k];
  }
  // Chain nodes: the start, then every coefficient that could stay nonzero.
  int position[64];
  float bestCost[64];
  int bestValue[64];
  int previous[64];
  int nodes = 1;
  position[0] = 0;
  bestCost[0] = 0;
  bestValue[0] = 0;
  previous[0] = -1;
  const float zeroRunBits = rates.SymbolBits[kZeroRun16];
  for (int k = 1; k < 64; ++k) {
    if (rounded[k] == 0) continue;
    float cost = std::numeric_limits<float>::max();
    int value = 0, from = 0;
    for (int candidate = rounded[k]; candidate >= std::max(1, rounded[k] - 1); --candidate) {
      const float error = magnitude[k] - static_cast<float>(candidate);
      const float own = error * error;
      const int size = SizeCategory(candidate);
      for (int j = 0; j < nodes; ++j) {
        const int run = k - position[j] - 1;
        const float bits = static_cast<float>(run >> 4) * zeroRunBits + rates.SymbolBits[((run & 15) << 4) | size];
        const float total =
            bestCost[j] + (zeroCostUpTo[k - 1] - zeroCostUpTo[position[j]]) + own + lambda_ * bits;
        if (total < cost) {
          cost = total;
          value = candidate;
          from = j;
        }
      }
    }
    position[nodes] = k;
    bestCost[nodes] = cost;
    bestValue[nodes] = value;
    previous[nodes] = from;
    ++nodes;
  }
  // Where the block ends: after the last node kept, an end-of-block code
  // (none needed when coefficient 63 is the last).
  const float endBits = rates.SymbolBits[kEndOfBlock];
  float cost = std::numeric_limits<float>::max();
  int last = 0;
  for (int j = 0; j < nodes; ++j) {
    const float total = bestCost[j] + (zeroCostUpTo[63] - zeroCostUpTo[position[j]]) +
                        (position[j] < 63 ? lambda_ * endBits : 0.0f);
    if (total < cost) {
      cost = total;
      last = j;
    }
  }
  for (int k = 1; k < 64; ++k) values[kZigZag[k]] = 0;
  for (int j = last; j > 0; j = previous[j]) {
    const int natural = kZigZag[position[j]];
    const bool negative = coefficients[natural] < 0;
    values[natural] = static_cast<int16_t>(negative ? -bestValue[j] : bestValue[j]);
  }
}

std::array<QuantisedComponent, 3> TrellisQuantiser::Quantise(const DctPicture& picture,
                                                             const QuantTables& tables) const {
  const std::array<AcRates, 2> rates =
      lambda_ > 0 ? EstimateRates(picture, tables) : std::array<AcRates, 2>{};
  std::array<QuantisedComponent, 3> result;
  for (int c = 0; c < 3; ++c) {
    const ComponentBlocks& blocks = picture.Components[c];
    QuantisedComponent& out = result[c];
    out.WidthInBlocks = blocks.WidthInBlocks;
    out.HeightInBlocks = blocks.HeightInBlocks;
    out.Values.resize(blocks.Coefficients.size());
    const size_t blockCount = blocks.Coefficients.size() / 64;
    for (size_t b = 0; b < blockCount; ++b) {
      QuantiseBlock(blocks.Coefficients.data() + b * 64, TableFor(tables, c), RatesFor(rates, c),
                    out.Values.data() + b * 64);
    }
  }
  return result;
}

}  // namespace lumatrim::encode
