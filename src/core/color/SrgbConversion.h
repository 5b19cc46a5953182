#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

namespace lumatrim::color {

// How a decoder hands over the pixels a profile describes.
enum class SourcePixels {
  Rgb,           // 8-bit R, G, B
  Cmyk,          // 8-bit C, M, Y, K, 255 = full ink
  CmykInverted,  // as Adobe stores it in JPEG: 0 = full ink
};

// The colour space an ICC profile describes.
enum class ProfileSpace { Unreadable, Rgb, Cmyk, Gray, Other };

ProfileSpace SpaceOfProfile(std::string_view icc);

// True for a matrix/curve RGB profile whose primaries, white and curves are
// sRGB's (whoever made it): converting through it would change nothing.
bool IsSrgbProfile(std::string_view icc);

// Turns rows of a picture in its own colour space into sRGB with Little CMS
// (perceptual intent), so a Display P3, Adobe RGB or CMYK photo keeps its
// colours once the profile is gone. One object per decode: it is not shared
// between threads.
class SrgbConversion {
 public:
  // Null when nothing needs converting or nothing can be: no profile, an sRGB
  // one, a damaged one, or one that does not describe these pixels.
  static std::unique_ptr<SrgbConversion> FromProfile(std::string_view icc, SourcePixels pixels);

  ~SrgbConversion();
  SrgbConversion(const SrgbConversion&) = delete;
  SrgbConversion& operator=(const SrgbConversion&) = delete;

  // width pixels of the source layout in, width RGB triples out (in and out
  // may be the same buffer for RGB sources).
  void ConvertRow(const uint8_t* in, uint8_t* rgbOut, int width) const;

 private:
  explicit SrgbConversion(void* transform) : transform_(transform) {}
  void* transform_;  // cmsHTRANSFORM
};

}  // namespace lumatrim::color
