#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace lumatrim::encode {

// One encode a search made: its quality, its stream and (automatic quality)
// its score.
struct SearchTrial {
  double Quality = 0;
  std::string Bytes;
  double Score = 0;
};

using EncodeAtQuality = std::function<std::string(double quality)>;
using ScoreOfStream = std::function<double(const std::string& bytes)>;

// The smallest whole quality in 1..100 whose value reaches target, for a
// value that mostly grows with quality; 101 when even 100 does not. Starts at
// guess, then interpolates inside the bracket found so far, bisecting when
// an interpolation gains little, so a smooth value takes 3 to 5 calls.
int FirstQualityReaching(const std::function<double(int quality)>& value, double target, int guess);

// "Velikost nejvýše": the highest quality whose stream has at most maxBytes,
// or nothing when none fits. The size of a progressive stream is not
// monotonic in quality (a flat picture can grow when its quality falls), so
// the qualities just above the first one too large are tried as well, and a
// stream is only ever returned after it was measured. When the stream found
// is more than a tenth under the limit, qualities between it and the next
// whole one are tried, to use the room.
std::optional<SearchTrial> LargestThatFits(const EncodeAtQuality& encode, uint64_t maxBytes);

// "Automatická kvalita": the smallest stream whose score reaches target,
// among those the search tried; the quality-100 stream when none does.
SearchTrial SmallestThatScores(const EncodeAtQuality& encode, const ScoreOfStream& score, double target);

}  // namespace lumatrim::encode
