#include "core/optimize/OptimizeBatch.h"
#include "ui/optimize/BatchRunner.h"

lumatrim::BatchReport RunEngineBatch(const std::vector<std::string>& sources,
                                     const lumatrim::OptimizeSettings& settings,
                                     const std::function<void(int done)>& progress, const std::atomic<bool>& cancel) {
  return lumatrim::RunOptimizeBatch(
      sources, settings, [&progress](int done, int, const lumatrim::BatchPhotoResult&) { progress(done); }, &cancel);
}
