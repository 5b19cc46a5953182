#pragma once
#include <string>

namespace lumatrim::color {

// Chromaticities of an RGB colour space (CIE xy), as a HEIF file's nclx
// colour box gives them.
struct Primaries {
  double redX, redY, greenX, greenY, blueX, blueY, whiteX, whiteY;
};

// The transfer curves an nclx box can name that we reproduce.
enum class TransferCurve {
  Srgb,    // IEC 61966-2-1 (also used for unspecified curves)
  Bt709,   // BT.709 / BT.601 camera curve
  Linear,
  Gamma22,
  Gamma28,
};

// A matrix/curve ICC profile of those primaries and that curve, as bytes;
// empty when Little CMS cannot make one (degenerate primaries).
std::string MakeRgbProfile(const Primaries& primaries, TransferCurve curve);

// sRGB's own primaries (BT.709, D65).
constexpr Primaries kSrgbPrimaries{0.64, 0.33, 0.30, 0.60, 0.15, 0.06, 0.3127, 0.3290};

}  // namespace lumatrim::color
