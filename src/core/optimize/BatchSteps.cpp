#include "core/optimize/BatchSteps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "core/bytes/Error.h"
#include "core/jpeg/CodecCancel.h"
#include "core/photo/PhotoEdits.h"

namespace lumatrim {
namespace {

PreparedPhoto Failed(FailureKind failure, const std::string& detail) {
  PreparedPhoto result;
  result.Failure = failure;
  result.Detail = detail;
  return result;
}

}  // namespace

PreparedPhoto PreparePhoto(const std::string& source, const std::string& output,
                           const OptimizeSettings& settings, const std::atomic<bool>* cancel) {
  // Tell the user's likely mistakes (a photo moved away, no rights) from a
  // damaged photo before decoding.
  struct stat info {};
  if (::stat(source.c_str(), &info) != 0) {
    return Failed(FailureKind::FileMissing, "\"" + source + "\": " + std::strerror(errno));
  }
  if (!S_ISREG(info.st_mode)) return Failed(FailureKind::DamagedData, "\"" + source + "\" is not a regular file");
  if (::access(source.c_str(), R_OK) != 0) {
    return Failed(FailureKind::NoPermission, "\"" + source + "\": " + std::strerror(errno));
  }
  try {
    const CodecCancelScope stopWith(cancel);
    PreparedPhoto result;
    result.Photo = PrepareBatchPhoto(source, output, settings);
    if (settings.RemoveGps) result.XmpGpsRemoved = RemoveGps(result.Photo->Meta).xmp;
    return result;
  } catch (const std::bad_alloc&) {
    return Failed(FailureKind::OutOfMemory, "not enough memory to process \"" + source + "\"");
  } catch (const std::exception& e) {
    std::string detail = *e.what() ? e.what() : "unknown error";
    if (detail.find(source) == std::string::npos) detail = "\"" + source + "\": " + detail;
    // Whatever a readable file gives as its reason (not a JPEG, cut short,
    // too large), the user is told the same: this photo cannot be used.
    return Failed(FailureKind::DamagedData, detail);
  }
}

void WritePreparedPhoto(BatchPhoto& photo) {
  WriteBatchPhoto(photo);
  struct stat source {};
  if (::stat(photo.Source.c_str(), &source) != 0) return;
  // Access time now, modification time the source's. A file system that
  // keeps no times loses nothing the user asked for, so a failure is ignored.
  const struct timespec times[2] = {{0, UTIME_NOW}, source.st_mtim};
  (void)::utimensat(AT_FDCWD, photo.Output.c_str(), times, 0);
}

}  // namespace lumatrim
