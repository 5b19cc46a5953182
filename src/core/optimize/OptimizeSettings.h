#pragma once
#include <cstdint>
#include <string>
#include <utility>

namespace lumatrim {

// Which typed sides fix the result's size (when the photo's own size is not kept).
enum class SizeRule {
  BothSides,       // "Vlastní": exactly ShortSide x LongSide, stretched on purpose
  ShortSideFixed,  // "Pevná šířka / volná délka": the long side follows the photo
  LongSideFixed,   // "Pevná délka / volná šířka": the short side follows the photo
};

// How each photo's JPEG quality is chosen.
enum class QualityMode {
  Fixed,        // 100 - Compression for every photo
  Automatic,    // the smallest output whose SSIMULACRA 2 score reaches AutoQualityScore
  MaxFileSize,  // the best quality whose file fits MaxFileBytes
};

// What one optimisation batch is asked to do.
struct OptimizeSettings {
  std::string TargetFolder;
  int Compression = 20;   // 0..100 percent; the JPEG quality is 100 - Compression
  bool KeepSize = false;  // the photo's own size, else ShortSide/LongSide
  int ShortSide = 0;      // px, the shorter side of the result
  int LongSide = 0;       // px, the longer side of the result
  SizeRule Rule = SizeRule::BothSides;  // which of the two sides count
  int Jobs = 0;           // worker threads; 0 = one per core
  bool RemoveGps = false; // leave the GPS directory out of each output's EXIF
  bool ConvertToSrgb = true;  // pictures with another colour profile become sRGB (else keep their profile)
  QualityMode Quality = QualityMode::Fixed;
  double AutoQualityScore = 85;  // SSIMULACRA 2 score each output must reach (Automatic)
  std::uint64_t MaxFileBytes = 0;  // largest output file in bytes (MaxFileSize)
};

// Largest side the JPEG format (and libjpeg) can write.
constexpr int kMaxTargetSide = 65500;

// Throws LumatrimError when the settings cannot give a valid photo: no target
// folder, compression outside 0..100, a side the rule uses below 1 px or
// above the JPEG limit, a negative job count.
void ValidateOptimizeSettings(const OptimizeSettings& settings);

// A side typed as text: a whole number of pixels (spaces around it allowed).
// Throws LumatrimError naming the field for "12.5", "abc", "" or overflow.
int ParseSide(const std::string& text, const std::string& fieldName);
// The same for any whole number (compression, job count).
int ParseWholeNumber(const std::string& text, const std::string& fieldName);

// The 4:3 guides the dialog shows in the free field: the long side for a short
// one (short + short / 3) and the short side for a long one (long - long / 4),
// rounded to the nearest integer, ties to even. The batch itself follows
// each photo's own proportions (TargetSize).
int LongSideFor(int shortSide);
int ShortSideFor(int longSide);

// The result size of a width x height photo: its own size when keeping it.
// With a fixed side, that side is the result's short (or long) side and the
// other follows the photo's proportions, rounded to the nearest pixel (ties
// to even) and at least 1 px: 3000 x 2000 with short side 600 gives 900 x 600.
// With both sides, landscape gets LongSide x ShortSide, portrait ShortSide x
// LongSide and a square ShortSide x ShortSide, stretched to exactly that.
// Throws LumatrimError when the free side would pass the JPEG limit.
std::pair<int, int> TargetSize(int width, int height, const OptimizeSettings& settings);

// fixedSide * otherSide / side rounded to the nearest integer, ties to even.
int ProportionalSide(int fixedSide, int side, int otherSide);


}  // namespace lumatrim
