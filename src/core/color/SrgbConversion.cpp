#include "core/color/SrgbConversion.h"

#include <lcms2.h>

#include <cmath>
#include <initializer_list>

namespace lumatrim::color {
namespace {

// Little CMS reports damaged profiles through a global handler that prints;
// a bad profile is an ordinary outcome for us (the picture keeps its values).
void Quietly() {
  static const bool silenced = [] {
    cmsSetLogErrorHandler(nullptr);
    return true;
  }();
  (void)silenced;
}

struct ProfileCloser {
  void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

Profile Open(std::string_view icc) {
  Quietly();
  if (icc.empty() || icc.size() > UINT32_MAX) return nullptr;
  return Profile(cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size())));
}

double SrgbCurve(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

bool NearXyz(const cmsCIEXYZ* a, const cmsCIEXYZ* b) {
  constexpr double kTolerance = 0.003;  // the rounding of s15Fixed16 colorants and of adaptations
  return a && b && std::fabs(a->X - b->X) < kTolerance && std::fabs(a->Y - b->Y) < kTolerance &&
         std::fabs(a->Z - b->Z) < kTolerance;
}

bool SrgbTone(const cmsToneCurve* curve) {
  if (!curve) return false;
  for (double v : {0.02, 0.1, 0.3, 0.5, 0.7, 0.9}) {
    if (std::fabs(cmsEvalToneCurveFloat(curve, static_cast<cmsFloat32Number>(v)) - SrgbCurve(v)) > 0.004) return false;
  }
  return true;
}

}  // namespace

ProfileSpace SpaceOfProfile(std::string_view icc) {
  const Profile profile = Open(icc);
  if (!profile) return ProfileSpace::Unreadable;
  switch (cmsGetColorSpace(profile.get())) {
    case cmsSigRgbData:
      return ProfileSpace::Rgb;
    case cmsSigCmykData:
      return ProfileSpace::Cmyk;
    case cmsSigGrayData:
      return ProfileSpace::Gray;
    default:
      return ProfileSpace::Other;
  }
}

bool IsSrgbProfile(std::string_view icc) {
  const Profile profile = Open(icc);
  if (!profile || cmsGetColorSpace(profile.get()) != cmsSigRgbData || !cmsIsMatrixShaper(profile.get())) return false;
  static const Profile srgb(cmsCreate_sRGBProfile());
  void* p = profile.get();
  for (const cmsTagSignature colorant : {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag}) {
    if (!NearXyz(static_cast<const cmsCIEXYZ*>(cmsReadTag(p, colorant)),
                 static_cast<const cmsCIEXYZ*>(cmsReadTag(srgb.get(), colorant)))) {
      return false;
    }
  }
  for (const cmsTagSignature curve : {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag}) {
    if (!SrgbTone(static_cast<const cmsToneCurve*>(cmsReadTag(p, curve)))) return false;
  }
  return true;
}

std::unique_ptr<SrgbConversion> SrgbConversion::FromProfile(std::string_view icc, SourcePixels pixels) {
  const Profile source = Open(icc);
  if (!source) return nullptr;
  const cmsColorSpaceSignature space = cmsGetColorSpace(source.get());
  cmsUInt32Number format = TYPE_RGB_8;
  if (pixels == SourcePixels::Rgb) {
    if (space != cmsSigRgbData || IsSrgbProfile(icc)) return nullptr;
  } else {
    if (space != cmsSigCmykData) return nullptr;
    format = pixels == SourcePixels::CmykInverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8;
  }
  const Profile srgb(cmsCreate_sRGBProfile());
  void* transform = cmsCreateTransform(source.get(), format, srgb.get(), TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
  if (!transform) return nullptr;
  return std::unique_ptr<SrgbConversion>(new SrgbConversion(transform));
}

SrgbConversion::~SrgbConversion() { cmsDeleteTransform(transform_); }

void SrgbConversion::ConvertRow(const uint8_t* in, uint8_t* rgbOut, int width) const {
  if (width > 0) cmsDoTransform(transform_, in, rgbOut, static_cast<cmsUInt32Number>(width));
}

}  // namespace lumatrim::color
