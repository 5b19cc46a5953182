#include "core/optimize/BatchSteps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>

#include "core/bytes/AtomicFile.h"
#include "core/bytes/Error.h"
#include "core/jpeg/CodecCancel.h"
#include "core/photo/PhotoEdits.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"

namespace lumatrim {
namespace {

PreparedPhoto Failed(FailureKind failure, const std::string& detail) {
  PreparedPhoto result;
  result.Failure = failure;
  result.Detail = detail;
  return result;
}

// The engine's message, naming the photo.
std::string Named(const std::exception& e, const std::string& source) {
  std::string detail = *e.what() ? e.what() : "unknown error";
  if (detail.find(source) == std::string::npos) detail = "\"" + source + "\": " + detail;
  return detail;
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
    result.SourceBytes = static_cast<std::uint64_t>(info.st_size);
    result.Photo = PrepareBatchPhoto(source, output, settings);
    // A copy would carry the position the user asked to leave out, or a
    // size the user did not ask for.
    GpsRemoved removed;
    if (settings.RemoveGps) removed = RemoveGps(result.Photo->Meta);
    result.XmpGpsRemoved = removed.xmp;
    if (settings.KeepIfSmaller && !removed.Any() && result.Photo->KeptSize &&
        EncodedFileBytes(*result.Photo) >= result.SourceBytes) {
      result.CopySource = true;
      result.Photo->Image = JpegImage();
    }
    return result;
  } catch (const std::bad_alloc&) {
    return Failed(FailureKind::OutOfMemory, "not enough memory to process \"" + source + "\"");
  } catch (const LumatrimError& e) {
    if (e.Kind() == FailureKind::SizeLimitUnreachable) return Failed(e.Kind(), e.what());
    return Failed(FailureKind::DamagedData, Named(e, source));
  } catch (const std::exception& e) {
    // Whatever a readable file gives as its reason (not a JPEG, cut short,
    // too large), the user is told the same: this photo cannot be used.
    return Failed(FailureKind::DamagedData, Named(e, source));
  }
}

std::uint64_t EncodedFileBytes(const BatchPhoto& photo) {
  std::string segments;
  EmitMetadataSegments(photo.Meta, segments);
  return segments.size() + photo.Image.Data().size();
}

void MakeOutputFolder(const std::string& outputPath) {
  const std::filesystem::path folder = std::filesystem::path(outputPath).parent_path();
  if (folder.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) throw LumatrimError("cannot create the folder \"" + folder.string() + "\": " + ec.message());
}

void WritePreparedPhoto(BatchPhoto& photo, bool copySource) {
  if (copySource) {
    AtomicFile::Write(photo.Output, ReadPhotoFile(photo.Source));
  } else {
    WriteBatchPhoto(photo);
  }
  struct stat source {};
  if (::stat(photo.Source.c_str(), &source) != 0) return;
  // Access time now, modification time the source's. A file system that
  // keeps no times loses nothing the user asked for, so a failure is ignored.
  const struct timespec times[2] = {{0, UTIME_NOW}, source.st_mtim};
  (void)::utimensat(AT_FDCWD, photo.Output.c_str(), times, 0);
}

}  // namespace lumatrim
