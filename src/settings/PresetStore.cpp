#include "settings/PresetStore.h"

#include <algorithm>
#include <array>
#include <utility>

using lumatrim::OptimizePreset;
using lumatrim::QualityMode;
using lumatrim::SizeRule;

namespace {

constexpr const char* kOrganisation = "lumatrim";
constexpr const char* kGroup = "presets";

constexpr std::array<std::pair<SizeRule, const char*>, 3> kRuleNames{{
    {SizeRule::BothSides,      "both"},
    {SizeRule::ShortSideFixed, "short"},
    {SizeRule::LongSideFixed,  "long"},
}};

constexpr std::array<std::pair<QualityMode, const char*>, 3> kQualityNames{{
    {QualityMode::Fixed,       "fixed"},
    {QualityMode::Automatic,   "automatic"},
    {QualityMode::MaxFileSize, "maxFileSize"},
}};

template <typename Enum, size_t N>
const char* NameOf(const std::array<std::pair<Enum, const char*>, N>& table, Enum value) {
  for (const auto& [entry, name] : table)
    if (entry == value) return name;
  return table[0].second;
}

template <typename Enum, size_t N>
bool ValueOf(const std::array<std::pair<Enum, const char*>, N>& table, const QString& name, Enum& value) {
  for (const auto& [entry, text] : table) {
    if (name == QLatin1String(text)) {
      value = entry;
      return true;
    }
  }
  return false;
}

bool SideInRange(int side) { return side >= 0 && side <= lumatrim::kMaxTargetSide; }

}  // namespace

std::unique_ptr<QSettings> ProgramSettings() {
  return std::make_unique<QSettings>(QString::fromLatin1(kOrganisation), QString::fromLatin1(kOrganisation));
}

std::vector<OptimizePreset> LoadUserPresets(QSettings& settings) {
  std::vector<OptimizePreset> presets;
  const int count = settings.beginReadArray(QLatin1String(kGroup));
  for (int i = 0; i < count; ++i) {
    settings.setArrayIndex(i);
    OptimizePreset preset;
    preset.Name = settings.value(QStringLiteral("name")).toString().trimmed().toStdString();
    preset.Subfolder = lumatrim::PresetSubfolder(preset.Name);
    preset.KeepSize = settings.value(QStringLiteral("keepSize"), false).toBool();
    preset.ShortSide = settings.value(QStringLiteral("shortSide"), 0).toInt();
    preset.LongSide = settings.value(QStringLiteral("longSide"), 0).toInt();
    preset.Compression = settings.value(QStringLiteral("compression"), 20).toInt();
    preset.AutoQualityScore = settings.value(QStringLiteral("qualityScore"), 85.0).toDouble();
    preset.MaxFileBytes = settings.value(QStringLiteral("maxFileBytes"), 0).toULongLong();
    const bool known = ValueOf(kRuleNames, settings.value(QStringLiteral("sizeRule")).toString(), preset.Rule) &&
                       ValueOf(kQualityNames, settings.value(QStringLiteral("quality")).toString(), preset.Quality);
    const bool sensible = known && !preset.Name.empty() && SideInRange(preset.ShortSide) &&
                          SideInRange(preset.LongSide) && preset.Compression >= 0 && preset.Compression <= 100;
    if (sensible) presets.push_back(preset);
  }
  settings.endArray();
  return presets;
}

void SaveUserPresets(QSettings& settings, const std::vector<OptimizePreset>& presets) {
  settings.remove(QLatin1String(kGroup));
  settings.beginWriteArray(QLatin1String(kGroup), static_cast<int>(presets.size()));
  for (int i = 0; i < static_cast<int>(presets.size()); ++i) {
    const OptimizePreset& preset = presets[static_cast<size_t>(i)];
    settings.setArrayIndex(i);
    settings.setValue(QStringLiteral("name"), QString::fromStdString(preset.Name));
    settings.setValue(QStringLiteral("keepSize"), preset.KeepSize);
    settings.setValue(QStringLiteral("sizeRule"), QLatin1String(NameOf(kRuleNames, preset.Rule)));
    settings.setValue(QStringLiteral("shortSide"), preset.ShortSide);
    settings.setValue(QStringLiteral("longSide"), preset.LongSide);
    settings.setValue(QStringLiteral("quality"), QLatin1String(NameOf(kQualityNames, preset.Quality)));
    settings.setValue(QStringLiteral("compression"), preset.Compression);
    settings.setValue(QStringLiteral("qualityScore"), preset.AutoQualityScore);
    settings.setValue(QStringLiteral("maxFileBytes"), QVariant::fromValue<qulonglong>(preset.MaxFileBytes));
  }
  settings.endArray();
}

std::vector<OptimizePreset> AllPresets(QSettings& settings) {
  std::vector<OptimizePreset> presets = lumatrim::DefaultPresets();
  // A file from an older version may hold "vlastní": ticking "Vlastní" must
  // still mean the dialog's own fields.
  for (OptimizePreset& preset : LoadUserPresets(settings)) {
    if (lumatrim::ReservedPresetName(preset.Name).empty()) presets.push_back(std::move(preset));
  }
  return presets;
}
