#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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
  Automatic,    // the smallest output whose SSIMULACRA 2 score reaches AutoQualityScore;
                // with MaxFileBytes, one too large gets the best quality that fits instead
  MaxFileSize,  // the best quality whose file fits MaxFileBytes
};

// What happens when an output's name already belongs to a file from an earlier run.
enum class ExistingOutput {
  Overwrite,  // the new photo replaces it
  Skip,       // the photo is left out; the old file stays
  Number,     // the new photo gets the next free "-2", "-3", ...
};

// The output name of a photo when nobody chose one: "opt_" and its own name.
constexpr const char* kDefaultNamePattern = "opt_{název}";

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
  std::uint64_t MaxFileBytes = 0;  // largest output file in bytes (MaxFileSize; Automatic: 0 = no ceiling)
  bool AllowEnlarge = false;   // a photo smaller than the requested size is enlarged to it
  bool KeepIfSmaller = false;  // a photo keeping its size is copied unchanged when the new file would not be smaller
  std::string NamePattern = kDefaultNamePattern;  // see ExpandNamePattern
  ExistingOutput Existing = ExistingOutput::Overwrite;
  // Per source, in list order: the folder under TargetFolder its output goes
  // to ("" or a missing entry: TargetFolder itself), so a scanned tree keeps its shape.
  std::vector<std::string> Subfolders;
};

// Largest side the JPEG format (and libjpeg) can write.
constexpr int kMaxTargetSide = 65500;

// Throws LumatrimError when the settings cannot give a valid photo: no target
// folder, compression outside 0..100, a side the rule uses below 1 px or
// above the JPEG limit, a negative job count, an automatic score outside
// 1..100 or a size limit of 0 bytes.
void ValidateOptimizeSettings(const OptimizeSettings& settings);

// A side typed as text: a whole number of pixels (spaces around it allowed).
// Throws LumatrimError naming the field for "12.5", "abc", "" or overflow.
int ParseSide(const std::string& text, const std::string& fieldName);
// The same for any whole number (compression, job count).
int ParseWholeNumber(const std::string& text, const std::string& fieldName);
// A file size: bytes, or with k or M (also kB, MB, any letter case) kibibytes
// or mebibytes, a decimal point or comma allowed before the suffix: "500k",
// "1,5M", "300000". Throws LumatrimError for anything else, 0 or above 1 TiB.
uint64_t ParseFileSize(const std::string& text);
// A score 1..100, decimals allowed ("85", "87.5"). Throws LumatrimError.
double ParseScore(const std::string& text);

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
// Unless AllowEnlarge, a result wider or taller than the photo gives the
// photo's own size: a small photo is never blown up.
// Throws LumatrimError when the free side would pass the JPEG limit.
std::pair<int, int> TargetSize(int width, int height, const OptimizeSettings& settings);

// TargetSize before the never-enlarge rule: what the sides ask for.
std::pair<int, int> RequestedSize(int width, int height, const OptimizeSettings& settings);

// fixedSide * otherSide / side rounded to the nearest integer, ties to even.
int ProportionalSide(int fixedSide, int side, int otherSide);


}  // namespace lumatrim
