#pragma once
#include <stdexcept>
#include <string>

namespace lumatrim {

// What went wrong, in terms a user can act on. The windows turn it into a
// sentence of their own language; the detail text stays technical.
enum class FailureKind {
  Other,         // anything without a more useful name
  FileMissing,   // the file or its folder does not exist
  NotJpeg,       // the bytes are not a JPEG stream at all
  DamagedData,   // a JPEG or metadata stream that is cut short or garbled
  NoSpace,       // the disk or the user's quota is full
  NoPermission,  // not allowed to read or write there, or a read-only disk
  NameTooLong,   // a file name or path too long for the file system
  TooLarge,      // a picture, file or metadata block larger than we handle
  ReadFailed,    // the file exists but reading it failed
  WriteFailed,   // writing failed for a reason without its own kind
  OutOfMemory,   // the photo needs more memory than there is
  SizeLimitUnreachable,  // even the lowest quality gives a larger file than the size limit
};

// The one exception type of the writers, the JPEG image object and the batch.
// what() is the technical detail (English, naming the file and the cause);
// Kind() says which sort of failure it is.
class LumatrimError : public std::runtime_error {
 public:
  explicit LumatrimError(const std::string& detail);
  LumatrimError(FailureKind kind, const std::string& detail);

  FailureKind Kind() const { return kind_; }

 private:
  FailureKind kind_ = FailureKind::Other;
};

// The kind of an errno value of a failed file operation; fallback for the
// values that have no kind of their own.
FailureKind FailureKindOfErrno(int error, FailureKind fallback);

}  // namespace lumatrim
