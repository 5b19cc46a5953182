#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "core/optimal/OptiSettings.h"

namespace lumatrim {

// Called after each photo is written: photos written so far, photos in the
// batch, the output just written. Runs on the thread that called RunOptiBatch.
using OptiProgress = std::function<void(int done, int total, const std::string& output)>;

// Optimises the photos in list order into <TargetFolder>/opt_<file name>.
//
// Synchronous: it returns when the batch has ended, so a window calls it from
// a thread of its own (and marshals the progress calls to its UI thread).
// Inside, settings.Jobs worker threads (default one per core) decode and
// encode photos ahead, while the calling thread writes them strictly in list
// order. A worker holds one photo's decoder and target bitmap at a time; a
// finished photo waits for its turn as coded bytes only, and workers run at
// most 2 x Jobs photos ahead of the last one written, so memory stays bounded.
//
// Bad settings throw LumatrimError before anything is read or written. The
// first photo that fails (unreadable, not a decodable JPEG, output is one of
// the batch's own sources, write error) ends the batch: the photos before it
// stay written, none after it is written, and LumatrimError is thrown with a
// message naming the photo and the cause. An output appears only complete;
// a failed photo leaves any existing file of that name untouched.
//
// When cancel becomes true, the batch stops before writing the next photo
// and returns normally. Returns the number of photos written.
int RunOptiBatch(const std::vector<std::string>& sources, const OptiSettings& settings,
                 const OptiProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace lumatrim
