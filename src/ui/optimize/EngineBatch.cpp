#include <string>
#include <vector>

#include "core/bytes/Error.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/optimize/OptimizeSettings.h"
#include "ui/optimize/BatchRunner.h"

lumatrim::BatchReport RunEngineBatch(const BatchSettings& settings, const std::function<void(int done)>& progress,
                                    const std::atomic<bool>& cancel) {
  lumatrim::OptimizeSettings engine;
  engine.TargetFolder = settings.TargetFolder.toStdString();
  engine.Compression = settings.Compression;
  engine.KeepSize = settings.KeepSize;
  engine.ShortSide = settings.ShortSide;
  engine.LongSide = settings.LongSide;
  engine.RemoveGps = settings.RemoveGps;
  engine.Rule = settings.Rule;
  std::vector<std::string> sources;
  sources.reserve(static_cast<size_t>(settings.Sources.size()));
  for (const QString& source : settings.Sources) sources.push_back(source.toStdString());
  return lumatrim::RunOptimizeBatch(
      sources, engine, [&progress](int done, int, const lumatrim::BatchPhotoResult&) { progress(done); }, &cancel);
}
