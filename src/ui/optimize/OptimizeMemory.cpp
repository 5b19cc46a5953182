#include "ui/optimize/OptimizeMemory.h"

#include <QSettings>
#include <algorithm>
#include <utility>

namespace {

// One settings file for the program, wherever the desktop keeps them
// (~/.config/lumatrim/lumatrim.conf on Linux); tests point it elsewhere.
constexpr const char* kOrganisation = "lumatrim";
constexpr const char* kModeNames[] = {"fixedWidth", "fixedLength", "custom", "original"};
// In the order of lumatrim::QualityMode.
constexpr const char* kQualityNames[] = {"fixed", "automatic", "maxFileSize"};

}  // namespace

OptimizeMemory OptimizeMemory::Load() {
  OptimizeMemory memory;
  QSettings settings{QString::fromLatin1(kOrganisation), QString::fromLatin1(kOrganisation)};
  settings.beginGroup(QStringLiteral("optimize"));
  memory.TargetFolder = settings.value(QStringLiteral("targetFolder"), memory.TargetFolder).toString();
  memory.Compression = std::clamp(settings.value(QStringLiteral("compression"), memory.Compression).toInt(), 0, 100);
  const QString mode = settings.value(QStringLiteral("sizeMode")).toString();
  for (int i = 0; i < 4; ++i) {
    if (mode == QLatin1String(kModeNames[i])) memory.Mode = static_cast<SizeMode>(i);
  }
  // Only what the side edits would accept: up to five digits.
  for (auto [key, side] : {std::pair{"shortSide", &memory.ShortSide}, std::pair{"longSide", &memory.LongSide}}) {
    const QString text = settings.value(QLatin1String(key), *side).toString();
    bool digits = !text.isEmpty() && text.size() <= 5;
    for (QChar c : text) digits = digits && c.isDigit() && c.unicode() < 128;
    if (digits) *side = text;
  }
  memory.RemoveGps = settings.value(QStringLiteral("removeGps"), memory.RemoveGps).toBool();
  memory.TickedPresets = settings.value(QStringLiteral("presets"), memory.TickedPresets).toStringList();
  memory.AllowEnlarge = settings.value(QStringLiteral("allowEnlarge"), memory.AllowEnlarge).toBool();
  memory.KeepIfSmaller = settings.value(QStringLiteral("keepIfSmaller"), memory.KeepIfSmaller).toBool();
  memory.NamePattern = settings.value(QStringLiteral("namePattern"), memory.NamePattern).toString();
  const QString quality = settings.value(QStringLiteral("qualityMode")).toString();
  for (int i = 0; i < 3; ++i) {
    if (quality == QLatin1String(kQualityNames[i])) memory.Quality = static_cast<lumatrim::QualityMode>(i);
  }
  memory.AutoQualityScore = settings.value(QStringLiteral("autoQualityScore"), memory.AutoQualityScore).toString().left(8);
  memory.MaxFileSize = settings.value(QStringLiteral("maxFileSize"), memory.MaxFileSize).toString().left(16);
  memory.AutoQualityCeiling = settings.value(QStringLiteral("autoQualityCeiling")).toString().left(16);
  memory.ConvertToSrgb = settings.value(QStringLiteral("convertToSrgb"), memory.ConvertToSrgb).toBool();
  return memory;
}

void OptimizeMemory::Save() const {
  QSettings settings{QString::fromLatin1(kOrganisation), QString::fromLatin1(kOrganisation)};
  settings.beginGroup(QStringLiteral("optimize"));
  settings.setValue(QStringLiteral("targetFolder"), TargetFolder);
  settings.setValue(QStringLiteral("compression"), Compression);
  settings.setValue(QStringLiteral("sizeMode"), QLatin1String(kModeNames[static_cast<int>(Mode)]));
  settings.setValue(QStringLiteral("shortSide"), ShortSide);
  settings.setValue(QStringLiteral("longSide"), LongSide);
  settings.setValue(QStringLiteral("removeGps"), RemoveGps);
  settings.setValue(QStringLiteral("presets"), TickedPresets);
  settings.setValue(QStringLiteral("allowEnlarge"), AllowEnlarge);
  settings.setValue(QStringLiteral("keepIfSmaller"), KeepIfSmaller);
  settings.setValue(QStringLiteral("namePattern"), NamePattern);
  settings.setValue(QStringLiteral("qualityMode"), QLatin1String(kQualityNames[static_cast<int>(Quality)]));
  settings.setValue(QStringLiteral("autoQualityScore"), AutoQualityScore);
  settings.setValue(QStringLiteral("maxFileSize"), MaxFileSize);
  settings.setValue(QStringLiteral("autoQualityCeiling"), AutoQualityCeiling);
  settings.setValue(QStringLiteral("convertToSrgb"), ConvertToSrgb);
}
