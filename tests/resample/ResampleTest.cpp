// The Lanczos resampler: it averages when reducing (stripes become grey, not
// black or white), interpolates when enlarging, keeps flat colours exact up
// to the picture's edges, and keeps detail the target can show.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "../jpeg/JpegTestKit.h"
#include "core/bytes/Error.h"
#include "core/resample/Resampler.h"

namespace lumatrim::test {
namespace {

using resample::Light;
using resample::Resample;

struct Stats {
  double mean = 0;
  int lowest = 255, highest = 0;
};

// Over the picture less `border` pixels on each side.
Stats ChannelStats(const Bitmap& b, int channel = 0, int border = 0) {
  Stats s;
  double sum = 0;
  for (int y = border; y < b.Height - border; ++y) {
    for (int x = border; x < b.Width - border; ++x) {
      const int v = b.Row(y)[3 * x + channel];
      sum += v;
      s.lowest = std::min(s.lowest, v);
      s.highest = std::max(s.highest, v);
    }
  }
  s.mean = sum / (double(b.Width - 2 * border) * (b.Height - 2 * border));
  return s;
}

Bitmap Stripes(int width, int height, bool vertical) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t v = ((vertical ? x : y) % 2) ? 255 : 0;
      std::fill_n(b.Row(y) + 3 * x, 3, v);
    }
  }
  return b;
}

// 1-pixel black and white stripes halved: one even grey, where pixel dropping
// keeps only black (or only white). Averaging code values gives 128; averaging
// light (the batch's choice) gives 50 % light, which sRGB codes as 188. The
// outermost pixels see a cut window and may differ a little; the rest is even.
TEST(Resample, OnePixelStripesHalvedBecomeEvenGrey) {
  const struct {
    const char* name;
    Bitmap source;
    int width, height;
  } cases[] = {
      {"vertical stripes, half the width", Stripes(64, 12, true), 32, 12},
      {"horizontal stripes, half the height", Stripes(20, 50, false), 20, 25},
      {"both halved", Stripes(64, 64, true), 32, 32},
      {"vertical stripes, odd sizes", Stripes(101, 7, true), 50, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int border = 2;
    const Stats gamma = ChannelStats(Resample(c.source, c.width, c.height, Light::Gamma), 0, border);
    EXPECT_NEAR(gamma.mean, 128, 3);
    EXPECT_LE(gamma.highest - gamma.lowest, 6) << "no stripes left";
    const Stats linear = ChannelStats(Resample(c.source, c.width, c.height, Light::Linear), 0, border);
    EXPECT_NEAR(linear.mean, 188, 3);
    EXPECT_LE(linear.highest - linear.lowest, 6) << "no stripes left";
    Bitmap dropped(c.width, c.height);
    StretchDraw(c.source, dropped);
    const Stats old = ChannelStats(dropped);
    EXPECT_TRUE(old.highest == old.lowest && (old.lowest == 0 || old.lowest == 255)) << "what pixel dropping gave";
  }
}

// Weights renormalised where the window is cut by an edge: a flat picture
// stays exactly flat at every size, reduced, enlarged, stretched or 1 px.
TEST(Resample, FlatColourStaysExactAtEverySizeAndEdge) {
  const std::pair<int, int> sources[] = {{1, 1}, {5, 3}, {64, 48}, {3, 200}};
  const std::pair<int, int> targets[] = {{1, 1}, {7, 5}, {32, 24}, {200, 2}, {13, 131}};
  for (Light light : {Light::Linear, Light::Gamma}) {
    for (const auto& [sw, sh] : sources) {
      Bitmap flat(sw, sh);
      for (size_t i = 0; i < flat.Bytes.size(); i += 3) {
        flat.Bytes[i] = 37, flat.Bytes[i + 1] = 200, flat.Bytes[i + 2] = 121;
      }
      for (const auto& [tw, th] : targets) {
        SCOPED_TRACE(std::to_string(sw) + "x" + std::to_string(sh) + " to " + std::to_string(tw) + "x" +
                     std::to_string(th) + (light == Light::Linear ? " linear" : " gamma"));
        const Bitmap out = Resample(flat, tw, th, light);
        ASSERT_EQ(out.Width, tw);
        ASSERT_EQ(out.Height, th);
        for (int c = 0; c < 3; ++c) {
          const Stats s = ChannelStats(out, c);
          EXPECT_EQ(s.lowest, flat.Bytes[c]);
          EXPECT_EQ(s.highest, flat.Bytes[c]);
        }
      }
    }
  }
}

// Enlarging interpolates: a ramp of 8 steps grown to 57 px rises smoothly,
// each output different from its neighbour, where repetition would give
// runs of 7 equal pixels.
TEST(Resample, EnlargingInterpolatesInsteadOfRepeatingPixels) {
  Bitmap ramp(8, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 8; ++x) std::fill_n(ramp.Row(y) + 3 * x, 3, static_cast<uint8_t>(20 + 30 * x));
  }
  for (Light light : {Light::Linear, Light::Gamma}) {
    const Bitmap grown = Resample(ramp, 57, 9, light);
    int longestRun = 1, run = 1;
    for (int x = 1; x < 57; ++x) {
      const int a = grown.Row(4)[3 * (x - 1)], b = grown.Row(4)[3 * x];
      run = a == b ? run + 1 : 1;
      longestRun = std::max(longestRun, run);
      if (x > 7 && x < 50) { EXPECT_GT(b, a) << "x " << x << ": rising in the middle"; }
    }
    EXPECT_LE(longestRun, 3);
    EXPECT_NEAR(grown.Row(0)[0], 20, 6) << "the ends keep the ramp's ends";
    EXPECT_NEAR(grown.Row(8)[3 * 56], 230, 6);
  }
}

// A sharp filter keeps what the target can show and removes what it cannot:
// a wave of period 12 px halved keeps its contrast; a wave of period 2.5 px
// (above the target's limit, where dropping makes moire) fades to grey.
TEST(Resample, KeepsDetailTheTargetCanShowAndRemovesMoire) {
  const auto wave = [](double period) {
    Bitmap b(240, 8);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 240; ++x) {
        const double v = 128 + 100 * std::sin(2 * std::numbers::pi * (x + 0.5) / period);
        std::fill_n(b.Row(y) + 3 * x, 3, static_cast<uint8_t>(std::lround(v)));
      }
    }
    return b;
  };
  const auto contrast = [](const Bitmap& b) {  // away from the edges
    int lo = 255, hi = 0;
    for (int x = 10; x < b.Width - 10; ++x) {
      lo = std::min<int>(lo, b.Row(4)[3 * x]);
      hi = std::max<int>(hi, b.Row(4)[3 * x]);
    }
    return hi - lo;
  };
  EXPECT_GE(contrast(Resample(wave(12), 120, 8, Light::Gamma)), 170) << "of 200";
  EXPECT_LE(contrast(Resample(wave(2.5), 120, 8, Light::Gamma)), 30);
  Bitmap dropped(120, 8);
  StretchDraw(wave(2.5), dropped);
  EXPECT_GE(contrast(dropped), 150) << "pixel dropping aliases the fine wave into a coarse one";
}

TEST(Resample, RefusesEmptySizesAndExtraRows) {
  const Bitmap source = MakePhoto(10, 10);
  EXPECT_THROW(Resample(source, 0, 5), LumatrimError);
  EXPECT_THROW(Resample(Bitmap(), 5, 5), LumatrimError);
  EXPECT_THROW(resample::LanczosWeights(0, 3), LumatrimError);
  Bitmap target(4, 4);
  resample::Resampler r(10, 2, target);
  r.PushRow(source.Row(0));
  EXPECT_FALSE(r.Done());
  r.PushRow(source.Row(1));
  EXPECT_TRUE(r.Done());
  EXPECT_THROW(r.PushRow(source.Row(2)), LumatrimError);
}

// Every window lies inside the source and its weights add up to 1, for
// reductions, enlargements and the awkward sizes in between.
TEST(FilterWeights, WindowsStayInsideAndAddUpToOne) {
  const std::pair<int, int> sizes[] = {{1, 1}, {1, 9}, {2, 1}, {5, 4}, {100, 3}, {3000, 800}, {800, 3000}, {7, 6}};
  for (const auto& [source, target] : sizes) {
    SCOPED_TRACE(std::to_string(source) + " -> " + std::to_string(target));
    const resample::AxisWeights w = resample::LanczosWeights(source, target);
    ASSERT_EQ(w.First.size(), size_t(target));
    EXPECT_LE(w.Taps, std::max(2, 6 * (source + target - 1) / target + 2)) << "the window fits the scale";
    for (int i = 0; i < target; ++i) {
      EXPECT_GE(w.First[i], 0);
      EXPECT_LE(w.First[i] + w.Taps, source);
      double sum = 0;
      for (int k = 0; k < w.Taps; ++k) sum += w.Weights[size_t(i) * w.Taps + k];
      EXPECT_NEAR(sum, 1.0, 1e-5) << "output " << i;
    }
  }
  EXPECT_DOUBLE_EQ(resample::Lanczos3(0), 1.0);
  EXPECT_NEAR(resample::Lanczos3(1), 0.0, 1e-12);
  EXPECT_EQ(resample::Lanczos3(3.0), 0.0);
}

}  // namespace
}  // namespace lumatrim::test
