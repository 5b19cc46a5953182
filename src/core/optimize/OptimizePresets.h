#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/optimize/OptimizeSettings.h"

namespace lumatrim {

// A named size and quality for sharing, and the subfolder it writes into
// when several presets run in one batch.
struct OptimizePreset {
  std::string Name;
  std::string Subfolder;
  bool KeepSize = false;
  SizeRule Rule = SizeRule::LongSideFixed;
  int ShortSide = 0;
  int LongSide = 0;
  QualityMode Quality = QualityMode::Fixed;
  int Compression = 20;
  double AutoQualityScore = 85;
  std::uint64_t MaxFileBytes = 0;  // the limit (MaxFileSize) or a ceiling (Automatic; 0: none)
};

// The presets every user has, in the order the dialog lists them.
std::vector<OptimizePreset> DefaultPresets();

// The name of the dialog's own controls in the preset list.
constexpr const char* kCustomPresetName = "Vlastní";

// Puts the preset's size and quality into settings; the rest stays.
void ApplyPreset(const OptimizePreset& preset, OptimizeSettings& settings);

// A preset named name with the size and quality of settings.
OptimizePreset PresetFromSettings(const std::string& name, const OptimizeSettings& settings);

// A folder name for a preset's name: lower case, ASCII letters and digits,
// words joined by "-" ("Můj web 2" gives "muj-web-2"); "predvolba" when
// nothing is left.
std::string PresetSubfolder(const std::string& name);

// Whether two preset names are the same but for letter case (ASCII and
// Czech letters: "vlastní", "VLASTNÍ" and "Vlastní" are one name).
bool SamePresetName(const std::string& a, const std::string& b);

// The preset of that name in any letter case ("e-mail" finds "E-mail"), or null.
const OptimizePreset* FindPreset(const std::vector<OptimizePreset>& presets, const std::string& name);

// The built-in preset (or "Vlastní") a user's preset of that name would be
// taken for, or "" when the name is free to use.
std::string ReservedPresetName(const std::string& name);

// Two presets of a run that would write into the same subfolder ("Muj web"
// and "Můj web", or one preset twice), the first such pair in order.
struct SubfolderClash {
  std::string First;
  std::string Second;
  std::string Subfolder;
};
std::optional<SubfolderClash> FindSubfolderClash(const std::vector<OptimizePreset>& presets);

}  // namespace lumatrim
