#include "core/encode/QualitySearch.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace lumatrim::encode {
namespace {

constexpr int kLowest = 1;
constexpr int kHighest = 100;
// Qualities tried above the first that is too large, in case size dips there.
constexpr int kLookAbove = 2;
// A stream this much under the limit is worth a fractional quality more.
constexpr double kWastedRoom = 0.9;

// The encodes of one search, each quality encoded once.
class Trials {
 public:
  explicit Trials(const EncodeAtQuality& encode) : encode_(encode) {}

  SearchTrial& At(double quality) {
    auto found = trials_.find(quality);
    if (found == trials_.end()) found = trials_.emplace(quality, SearchTrial{quality, encode_(quality), 0}).first;
    return found->second;
  }
  std::map<double, SearchTrial>& All() { return trials_; }

 private:
  const EncodeAtQuality& encode_;
  std::map<double, SearchTrial> trials_;
};

}  // namespace

int FirstQualityReaching(const std::function<double(int quality)>& value, double target, int guess) {
  int low = kLowest - 1, high = kHighest + 1;  // value(low) < target <= value(high), by assumption
  double lowValue = NAN, highValue = NAN;
  int next = std::clamp(guess, kLowest, kHighest);
  bool bisectNext = false;
  int step = 8;  // away from a one-sided bracket, doubling
  while (high - low > 1) {
    const int width = high - low;
    const double v = value(next);
    if (v >= target) {
      high = next;
      highValue = v;
    } else {
      low = next;
      lowValue = v;
    }
    if (high - low <= 1) break;
    const bool gainedLittle = 2 * (high - low) > width;
    if (!std::isnan(lowValue) && !std::isnan(highValue) && !bisectNext && highValue > lowValue) {
      next = low + static_cast<int>(std::lround((target - lowValue) / (highValue - lowValue) * (high - low)));
    } else if (std::isnan(lowValue) && !std::isnan(highValue)) {
      next = high - step;  // only passes so far: step down
      step *= 2;
    } else if (std::isnan(highValue) && !std::isnan(lowValue)) {
      next = low + step;
      step *= 2;
    } else {
      next = low + (high - low) / 2;
    }
    next = std::clamp(next, low + 1, high - 1);
    bisectNext = gainedLittle && !bisectNext;
  }
  return high;
}

std::optional<SearchTrial> LargestThatFits(const EncodeAtQuality& encode, uint64_t maxBytes) {
  Trials trials(encode);
  const auto fits = [&](double quality) { return trials.At(quality).Bytes.size() <= maxBytes; };
  const int firstTooLarge = FirstQualityReaching(
      [&](int quality) { return static_cast<double>(trials.At(quality).Bytes.size()); },
      static_cast<double>(maxBytes) + 0.5, 75);
  double best = 0;
  if (firstTooLarge > kLowest && fits(firstTooLarge - 1)) best = firstTooLarge - 1;
  for (int quality = firstTooLarge + 1; quality <= std::min(kHighest, firstTooLarge + kLookAbove); ++quality) {
    if (fits(quality)) best = quality;
  }
  // Whatever was measured and fits counts, the highest quality winning.
  for (const auto& [quality, trial] : trials.All()) {
    if (trial.Bytes.size() <= maxBytes) best = std::max(best, quality);
  }
  if (best == 0) return std::nullopt;
  if (best < kHighest && trials.At(best).Bytes.size() < kWastedRoom * static_cast<double>(maxBytes)) {
    const double whole = best;
    if (fits(whole + 0.5)) {
      best = whole + 0.5;
      if (fits(whole + 0.75)) best = whole + 0.75;
    } else if (fits(whole + 0.25)) {
      best = whole + 0.25;
    }
  }
  return trials.At(best);
}

SearchTrial SmallestThatScores(const EncodeAtQuality& encode, const ScoreOfStream& score, double target) {
  Trials trials(encode);
  std::map<double, double> scores;
  const auto scoreAt = [&](double quality) {
    auto found = scores.find(quality);
    if (found == scores.end()) found = scores.emplace(quality, score(trials.At(quality).Bytes)).first;
    trials.At(quality).Score = found->second;
    return found->second;
  };
  const int first = FirstQualityReaching([&](int quality) { return scoreAt(quality); }, target, 80);
  if (first > kHighest) {
    scoreAt(kHighest);
    return trials.At(kHighest);
  }
  const SearchTrial* smallest = nullptr;
  for (const auto& [quality, trial] : trials.All()) {
    if (scores.count(quality) && trial.Score >= target && (!smallest || trial.Bytes.size() < smallest->Bytes.size())) {
      smallest = &trial;
    }
  }
  return *smallest;
}

}  // namespace lumatrim::encode
