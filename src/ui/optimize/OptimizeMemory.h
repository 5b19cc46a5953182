#pragma once
#include <QString>

// What the optimisation dialog remembers between runs of the program.
struct OptimizeMemory {
  enum class SizeMode { FixedWidth, FixedLength, Custom, Original };

  QString TargetFolder;
  int Compression = 20;
  SizeMode Mode = SizeMode::FixedWidth;
  QString ShortSide = QStringLiteral("0");
  QString LongSide = QStringLiteral("0");
  bool RemoveGps = false;
  bool ConvertToSrgb = true;

  // From the user's settings file; the design's defaults where nothing is stored.
  static OptimizeMemory Load();
  void Save() const;
};
