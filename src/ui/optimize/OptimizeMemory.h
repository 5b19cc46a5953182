#pragma once
#include <QString>
#include <QStringList>

#include "core/optimize/OptimizeSettings.h"

// What the optimisation dialog remembers between runs of the program.
struct OptimizeMemory {
  enum class SizeMode { FixedWidth, FixedLength, Custom, Original };

  QString TargetFolder;
  int Compression = 20;
  SizeMode Mode = SizeMode::FixedWidth;
  QString ShortSide = QStringLiteral("0");
  QString LongSide = QStringLiteral("0");
  bool RemoveGps = false;
  QStringList TickedPresets = {QStringLiteral("Web a sociální sítě")};  // by name, in list order
  bool AllowEnlarge = false;
  bool KeepIfSmaller = true;
  QString NamePattern = QStringLiteral("opt_{název}");
  // How each photo's quality is chosen, and the two targets as typed.
  lumatrim::QualityMode Quality = lumatrim::QualityMode::Fixed;
  QString AutoQualityScore = QStringLiteral("85");
  QString MaxFileSize = QStringLiteral("500k");
  QString AutoQualityCeiling;  // empty: automatic quality has no size ceiling
  bool ConvertToSrgb = true;

  // From the user's settings file; the design's defaults where nothing is stored.
  static OptimizeMemory Load();
  void Save() const;
};
