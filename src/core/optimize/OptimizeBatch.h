#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "core/optimize/BatchReport.h"
#include "core/optimize/OptimizeSettings.h"

namespace lumatrim {

// Called after each photo is done, written or failed: photos done so far,
// photos in the batch, and that photo's result. Runs on the thread that
// called RunOptimizeBatch.
using BatchProgress = std::function<void(int done, int total, const BatchPhotoResult& photo)>;

// Optimises the photos in list order into <TargetFolder>/<subfolder>/<name>
// (PlanOutputs; opt_<file name> unless settings name them otherwise).
//
// Synchronous: it returns when the batch has ended, so a window calls it from
// a thread of its own (and marshals the progress calls to its UI thread).
// Inside, settings.Jobs worker threads (default one per core) decode and
// encode photos ahead, while the calling thread writes them strictly in list
// order. A worker holds one photo's decoder and target bitmap at a time; a
// finished photo waits for its turn as coded bytes only, and workers run at
// most 2 x Jobs photos ahead of the last one written, so memory stays bounded.
//
// Bad settings, or a target folder that is not there, throw LumatrimError
// before anything is read or written. After that nothing throws: a photo that
// fails (missing, unreadable, damaged, write error) is reported and the batch
// goes on. No two photos of the batch share an output, and none overwrites a
// source (see PlanOutputs); an existing file of an output's name from an
// earlier run is replaced, skipped or numbered past as settings.Existing
// says. Missing subfolders are made. With KeepIfSmaller a photo whose new
// file would not be smaller is written as a copy of its source. An output appears only complete, with its source's
// modification time; a failed photo leaves any existing file of that name
// untouched and no temporary file behind.
//
// When cancel becomes true, the batch stops before writing the next photo
// (the codec stops on the photos being prepared, which are dropped) and
// reports the rest as not done; it returns within a fraction of a second.
BatchReport RunOptimizeBatch(const std::vector<std::string>& sources, const OptimizeSettings& settings,
                             const BatchProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace lumatrim
