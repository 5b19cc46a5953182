#include "core/color/ProfileMaker.h"

#include <lcms2.h>

#include <memory>

namespace lumatrim::color {
namespace {

template <typename T, void (*Free)(T*)>
struct Freer {
  void operator()(T* p) const { Free(p); }
};

void CloseProfile(void* profile) { cmsCloseProfile(profile); }
using ProfileHandle = std::unique_ptr<void, Freer<void, CloseProfile>>;
using ToneHandle = std::unique_ptr<cmsToneCurve, Freer<cmsToneCurve, cmsFreeToneCurve>>;

// Little CMS's parametric curves: type 4 is
//   y = (a x + b)^g  for x >= d,  y = c x  below,
// with parameters {g, a, b, c, d}.
ToneHandle CurveOf(TransferCurve curve) {
  switch (curve) {
    case TransferCurve::Srgb: {
      const cmsFloat64Number p[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
      return ToneHandle(cmsBuildParametricToneCurve(nullptr, 4, p));
    }
    case TransferCurve::Bt709: {
      const cmsFloat64Number p[5] = {1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
      return ToneHandle(cmsBuildParametricToneCurve(nullptr, 4, p));
    }
    case TransferCurve::Linear:
      return ToneHandle(cmsBuildGamma(nullptr, 1.0));
    case TransferCurve::Gamma22:
      return ToneHandle(cmsBuildGamma(nullptr, 2.2));
    case TransferCurve::Gamma28:
      return ToneHandle(cmsBuildGamma(nullptr, 2.8));
  }
  return nullptr;
}

}  // namespace

std::string MakeRgbProfile(const Primaries& primaries, TransferCurve curve) {
  const cmsCIExyY white{primaries.whiteX, primaries.whiteY, 1.0};
  const cmsCIExyYTRIPLE rgb{{primaries.redX, primaries.redY, 1.0},
                            {primaries.greenX, primaries.greenY, 1.0},
                            {primaries.blueX, primaries.blueY, 1.0}};
  const ToneHandle tone = CurveOf(curve);
  if (!tone) return {};
  cmsToneCurve* curves[3] = {tone.get(), tone.get(), tone.get()};
  const ProfileHandle profile(cmsCreateRGBProfile(&white, &rgb, curves));
  if (!profile) return {};
  cmsUInt32Number size = 0;
  if (!cmsSaveProfileToMem(profile.get(), nullptr, &size) || size == 0) return {};
  std::string bytes(size, '\0');
  if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size)) return {};
  bytes.resize(size);
  return bytes;
}

}  // namespace lumatrim::color
