// The quality searches over made-up size and score curves.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "core/encode/QualitySearch.h"

namespace lumatrim::encode {
namespace {

// A stream whose length is the curve's value at that quality, counting encodes.
struct Curve {
  std::function<double(double)> size;
  int encodes = 0;
  EncodeAtQuality Encoder() {
    return [this](double quality) {
      ++encodes;
      return std::string(static_cast<size_t>(std::max(1.0, size(quality))), 'x');
    };
  }
};

double Photo(double q) { return 20000 + 4000 * std::exp(q / 20.0); }  // smooth, growing

TEST(QualitySearch, LargestThatFitsNeverExceedsTheLimitAndLeavesLittleRoom) {
  const struct {
    const char* name;
    std::function<double(double)> size;
    uint64_t limit;
    double lowest, highest;  // where the quality found must lie; 0, 0: nothing fits
  } rows[] = {
      // 20000 + 4000 e^(q/20) = 200000 at q = 76.13: found to a quarter.
      {"smooth photo", Photo, 200000, 75.88, 76.13},
      {"everything fits", Photo, 10'000'000, 100, 100},
      {"nothing fits", Photo, 20000, 0, 0},
      // A flat picture: qualities 60 and 61 are larger than 62, which fits.
      {"dip above the first too large", [](double q) { return q == 60 || q == 61 ? 70000.0 : 1000.0 * q; }, 62000,
       62, 62},
      {"lowest quality larger than the next", [](double q) { return q == 2 ? 1000.0 : 9000.0; }, 1500, 2, 2},
      {"only quality 1 fits", [](double q) { return q <= 1 ? 100.0 : 1e6; }, 100, 1, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Curve curve{row.size};
    const std::optional<SearchTrial> found = LargestThatFits(curve.Encoder(), row.limit);
    EXPECT_LE(curve.encodes, 16) << "few encodes";
    if (row.highest == 0) {
      EXPECT_FALSE(found);
      continue;
    }
    ASSERT_TRUE(found);
    EXPECT_LE(found->Bytes.size(), row.limit);
    EXPECT_EQ(found->Bytes.size(), static_cast<size_t>(row.size(found->Quality))) << "the stream of its quality";
    EXPECT_GE(found->Quality, row.lowest);
    EXPECT_LE(found->Quality, row.highest);
  }
}

TEST(QualitySearch, SmallestThatScoresReachesTheTargetWithFewEncodes) {
  const struct {
    const char* name;
    std::function<double(double)> score;
    std::function<double(double)> size;
    double lowest, highest;  // where the quality found must lie
  } rows[] = {
      {"smooth", [](double q) { return 30 + 0.6 * q; }, Photo, 92, 92},
      {"steep top", [](double q) { return q < 95 ? 70 + q / 10 : 95; }, Photo, 95, 95},
      {"unreachable: the best there is", [](double q) { return q / 2; }, Photo, 100, 100},
      {"everything reaches", [](double) { return 99.0; }, Photo, 1, 1},
      // Size not monotonic: 92, the first to reach 85, is larger than 93.
      {"smaller above", [](double q) { return 30 + 0.6 * q; },
       [](double q) { return q == 92 ? 90000.0 : 1000.0 * q - 20000; }, 92, 100},
  };
  constexpr double kTarget = 85;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Curve curve{row.size};
    int scores = 0;
    std::map<std::string, double> qualityOf;  // each stream's quality, for its score
    const SearchTrial found = SmallestThatScores(
        [&](double quality) {
          const std::string bytes = curve.Encoder()(quality) + std::to_string(quality);
          qualityOf[bytes] = quality;
          return bytes;
        },
        [&](const std::string& bytes) {
          ++scores;
          return row.score(qualityOf.at(bytes));
        },
        kTarget);
    EXPECT_LE(scores, 10) << "few encodes";
    EXPECT_GE(found.Quality, row.lowest);
    EXPECT_LE(found.Quality, row.highest);
    EXPECT_EQ(found.Score, row.score(found.Quality));
    if (row.highest < 100) EXPECT_GE(found.Score, kTarget);
    EXPECT_LE(found.Bytes.size(), static_cast<size_t>(row.size(row.lowest)) + 12) << "never larger than the first to reach";
  }
}

}  // namespace
}  // namespace lumatrim::encode
