#include "ui/preview/PhotoFit.h"

#include <algorithm>
#include <cmath>

namespace photofit {

Placement Fit(int photoWidth, int photoHeight, int boxWidth, int boxHeight, bool fitSquare) {
  int maxW = boxWidth;
  int maxH = boxHeight;
  if (fitSquare) maxW = maxH = std::min(boxWidth, boxHeight);

  Placement p;
  if (photoHeight > maxH || photoWidth > maxW) {
    // Products in 64-bit integers first: a 24 MP photo times a box side
    // overflows 32 bits only for absurd sizes, but costs nothing to guard.
    if (photoWidth > photoHeight) {
      p.Width = maxW;
      p.Height = static_cast<int>(static_cast<double>(int64_t{photoHeight} * maxW) / photoWidth);
    } else {
      p.Height = maxH;
      p.Width = static_cast<int>(static_cast<double>(int64_t{photoWidth} * maxH) / photoHeight);
    }
  } else {
    p.Width = photoWidth;
    p.Height = photoHeight;
  }
  p.Top = static_cast<int>((boxHeight - p.Height) / 2.0);
  p.Left = static_cast<int>((boxWidth - p.Width) / 2.0);
  p.Scale = photoHeight > 0 ? static_cast<double>(p.Height) / photoHeight : 1.0;
  return p;
}

int RoundEven(double value) {
  // nearbyint follows the current rounding mode, which is to-nearest-even
  // unless someone changed it; do the tie-break by hand to be independent.
  double lower = std::floor(value);
  double diff = value - lower;
  if (diff > 0.5) return static_cast<int>(lower) + 1;
  if (diff < 0.5) return static_cast<int>(lower);
  int l = static_cast<int>(lower);
  return (l % 2 == 0) ? l : l + 1;
}

int ScalePercent(double scale) { return RoundEven(scale * 100.0); }

int ClientToPhoto(int client, int controlSize, double scale) {
  if (client <= 0) client = 0;
  if (client >= controlSize - 1) client = controlSize;
  if (scale <= 0) return 0;
  return RoundEven(client / scale);
}

}  // namespace photofit
