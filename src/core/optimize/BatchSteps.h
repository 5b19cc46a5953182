#pragma once
#include <atomic>
#include <memory>
#include <string>

#include "core/optimize/BatchPhoto.h"
#include "core/optimize/BatchReport.h"
#include "core/optimize/OptimizeSettings.h"

namespace lumatrim {

// One photo made ready for writing, or why it could not be.
struct PreparedPhoto {
  std::unique_ptr<BatchPhoto> Photo;
  FailureKind Failure = FailureKind::Other;  // when there is no Photo
  std::string Detail;
  bool XmpGpsRemoved = false;  // the position was also taken out of its XMP
};

// Decodes, scales and encodes one photo (and leaves out its GPS when asked).
// Never throws: a failure comes back classified, with the engine's message.
// When cancel becomes true the codec stops part way; the result is then a
// failure the batch drops, since it stops too.
PreparedPhoto PreparePhoto(const std::string& source, const std::string& output,
                           const OptimizeSettings& settings, const std::atomic<bool>* cancel = nullptr);

// Writes a prepared photo and gives it its source's modification time, so
// photo libraries sort the shared copies by when they were taken. Throws
// LumatrimError when the write fails (the older file of that name stays).
void WritePreparedPhoto(BatchPhoto& photo);

}  // namespace lumatrim
