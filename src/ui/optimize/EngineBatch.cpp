#include <string>
#include <vector>

#include "core/bytes/Error.h"
#include "core/optimal/OptiBatch.h"
#include "core/optimal/OptiSettings.h"
#include "ui/optimize/BatchRunner.h"

void RunEngineBatch(const BatchSettings& settings, const std::function<void(int done)>& progress) {
  lumatrim::OptiSettings engine;
  engine.TargetFolder = settings.TargetFolder.toStdString();
  engine.Compression = settings.Compression;
  engine.KeepSize = settings.KeepSize;
  engine.ShortSide = settings.ShortSide;
  engine.LongSide = settings.LongSide;
  std::vector<std::string> sources;
  sources.reserve(static_cast<size_t>(settings.Sources.size()));
  for (const QString& source : settings.Sources) sources.push_back(source.toStdString());
  try {
    lumatrim::RunOptiBatch(sources, engine,
                           [&progress](int done, int, const std::string&) { progress(done); });
  } catch (const lumatrim::LumatrimError& error) {
    // The engine names the photo and the cause; the window says what failed.
    throw lumatrim::LumatrimError("Optimalizace se nezdařila.\n\n" + std::string(error.what()));
  }
}
