#include "core/optimize/OptimizePresets.h"

#include <cctype>
#include <string_view>

namespace lumatrim {
namespace {

struct PresetRow {
  const char* name;
  const char* subfolder;
  bool keepSize;
  int longSide;
  QualityMode quality;
  int compression;
  std::uint64_t maxFileBytes;
};

constexpr std::uint64_t kEmailBytes = 500'000;  // the ceiling mail servers and phones take without fuss

constexpr PresetRow kDefaultPresets[] = {
    {"E-mail",                       "e-mail",     false, 1280, QualityMode::Automatic,   20, kEmailBytes},
    {"Web a sociální sítě",          "web",        false, 2048, QualityMode::Automatic,   20, 0},
    {"Tisk 13 × 18",                 "tisk",       false, 2100, QualityMode::Fixed,       8,  0},
    {"Jen zmenšit datovou velikost", "zmenseno",   true,  0,    QualityMode::Automatic,   20, 0},
};

// Czech letters with diacritics as their base letters, for folder names.
struct Folding {
  std::string_view letter;
  char plain;
};

constexpr Folding kFoldings[] = {
    {"á", 'a'}, {"č", 'c'}, {"ď", 'd'}, {"é", 'e'}, {"ě", 'e'}, {"í", 'i'}, {"ň", 'n'}, {"ó", 'o'},
    {"ř", 'r'}, {"š", 's'}, {"ť", 't'}, {"ú", 'u'}, {"ů", 'u'}, {"ý", 'y'}, {"ž", 'z'}, {"Á", 'a'},
    {"Č", 'c'}, {"Ď", 'd'}, {"É", 'e'}, {"Ě", 'e'}, {"Í", 'i'}, {"Ň", 'n'}, {"Ó", 'o'}, {"Ř", 'r'},
    {"Š", 's'}, {"Ť", 't'}, {"Ú", 'u'}, {"Ů", 'u'}, {"Ý", 'y'}, {"Ž", 'z'},
};

// Czech capitals and their small letters, for names compared in any case.
struct CaseLetter {
  std::string_view capital;
  std::string_view small;
};

constexpr CaseLetter kCzechCapitals[] = {
    {"Á", "á"}, {"Č", "č"}, {"Ď", "ď"}, {"É", "é"}, {"Ě", "ě"}, {"Í", "í"}, {"Ň", "ň"}, {"Ó", "ó"},
    {"Ř", "ř"}, {"Š", "š"}, {"Ť", "ť"}, {"Ú", "ú"}, {"Ů", "ů"}, {"Ý", "ý"}, {"Ž", "ž"},
};

std::string CaseFolded(const std::string& text) {
  std::string folded;
  for (size_t i = 0; i < text.size();) {
    const CaseLetter* letter = nullptr;
    for (const CaseLetter& candidate : kCzechCapitals) {
      if (std::string_view(text).substr(i, candidate.capital.size()) == candidate.capital) letter = &candidate;
    }
    if (letter != nullptr) {
      folded += letter->small;
      i += letter->capital.size();
    } else {
      folded += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
    }
  }
  return folded;
}

}  // namespace

std::vector<OptimizePreset> DefaultPresets() {
  std::vector<OptimizePreset> presets;
  for (const PresetRow& row : kDefaultPresets) {
    OptimizePreset preset;
    preset.Name = row.name;
    preset.Subfolder = row.subfolder;
    preset.KeepSize = row.keepSize;
    preset.LongSide = row.longSide;
    preset.Quality = row.quality;
    preset.Compression = row.compression;
    preset.MaxFileBytes = row.maxFileBytes;
    presets.push_back(preset);
  }
  return presets;
}

void ApplyPreset(const OptimizePreset& preset, OptimizeSettings& settings) {
  settings.KeepSize = preset.KeepSize;
  settings.Rule = preset.Rule;
  settings.ShortSide = preset.ShortSide;
  settings.LongSide = preset.LongSide;
  settings.Quality = preset.Quality;
  settings.Compression = preset.Compression;
  settings.AutoQualityScore = preset.AutoQualityScore;
  settings.MaxFileBytes = preset.MaxFileBytes;
}

OptimizePreset PresetFromSettings(const std::string& name, const OptimizeSettings& settings) {
  OptimizePreset preset;
  preset.Name = name;
  preset.Subfolder = PresetSubfolder(name);
  preset.KeepSize = settings.KeepSize;
  preset.Rule = settings.Rule;
  preset.ShortSide = settings.ShortSide;
  preset.LongSide = settings.LongSide;
  preset.Quality = settings.Quality;
  preset.Compression = settings.Compression;
  preset.AutoQualityScore = settings.AutoQualityScore;
  preset.MaxFileBytes = settings.MaxFileBytes;
  return preset;
}

std::string PresetSubfolder(const std::string& name) {
  std::string folder;
  bool gap = false;
  for (size_t i = 0; i < name.size();) {
    char plain = 0;
    size_t length = 1;
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (std::isalnum(c)) {
      plain = static_cast<char>(std::tolower(c));
    } else {
      for (const Folding& folding : kFoldings) {
        if (std::string_view(name).substr(i, folding.letter.size()) == folding.letter) {
          plain = folding.plain;
          length = folding.letter.size();
          break;
        }
      }
      // Any other character (space, "×", "/") separates words.
      while (plain == 0 && i + length < name.size() && (static_cast<unsigned char>(name[i + length]) & 0xC0) == 0x80) {
        ++length;
      }
    }
    if (plain != 0) {
      if (gap && !folder.empty()) folder += '-';
      folder += plain;
      gap = false;
    } else {
      gap = true;
    }
    i += length;
  }
  return folder.empty() ? "predvolba" : folder;
}

bool SamePresetName(const std::string& a, const std::string& b) { return CaseFolded(a) == CaseFolded(b); }

const OptimizePreset* FindPreset(const std::vector<OptimizePreset>& presets, const std::string& name) {
  for (const OptimizePreset& preset : presets) {
    if (SamePresetName(preset.Name, name)) return &preset;
  }
  return nullptr;
}

std::string ReservedPresetName(const std::string& name) {
  if (SamePresetName(name, kCustomPresetName)) return kCustomPresetName;
  for (const PresetRow& row : kDefaultPresets) {
    if (SamePresetName(name, row.name)) return row.name;
  }
  return std::string();
}

std::optional<SubfolderClash> FindSubfolderClash(const std::vector<OptimizePreset>& presets) {
  for (size_t second = 1; second < presets.size(); ++second) {
    for (size_t first = 0; first < second; ++first) {
      if (presets[first].Subfolder == presets[second].Subfolder) {
        return SubfolderClash{presets[first].Name, presets[second].Name, presets[first].Subfolder};
      }
    }
  }
  return std::nullopt;
}

}  // namespace lumatrim
