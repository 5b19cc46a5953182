#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "core/optimize/BatchPhoto.h"
#include "core/optimize/BatchReport.h"
#include "core/optimize/OptimizeSettings.h"

namespace lumatrim {

// One photo made ready for writing, or why it could not be.
struct PreparedPhoto {
  std::unique_ptr<BatchPhoto> Photo;
  // KeepIfSmaller found the new photo, of the source's own size, no
  // smaller than the source: the source is copied instead (Photo then
  // holds no picture).
  bool CopySource = false;
  std::uint64_t SourceBytes = 0;
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

// The size of the file the photo would be written as.
std::uint64_t EncodedFileBytes(const BatchPhoto& photo);

// Writes a prepared photo and gives it its source's modification time, so
// photo libraries sort the shared copies by when they were taken. Throws
// LumatrimError when the write fails (the older file of that name stays).
// With copySource the source's bytes are written unchanged instead.
void WritePreparedPhoto(BatchPhoto& photo, bool copySource = false);

// Creates the folders an output path needs; throws LumatrimError.
void MakeOutputFolder(const std::string& outputPath);

}  // namespace lumatrim
