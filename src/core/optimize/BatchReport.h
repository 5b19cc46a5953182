#pragma once
#include <string>
#include <vector>

namespace lumatrim {

// Why one photo of a batch was not written. The windows turn it into a
// sentence of their own; Detail keeps the cause in the engine's words.
enum class PhotoFailure {
  None,
  Missing,      // no such file
  Unreadable,   // the file cannot be opened for reading
  Damaged,      // not a JPEG, or one that cannot be decoded
  OutOfMemory,  // the photo needs more memory than there is
  WriteFailed,  // the output could not be written (full disk, no rights, ...)
};

enum class PhotoOutcome {
  Written,
  Failed,
  NotDone,  // the batch was cancelled before this photo
};

struct BatchPhotoResult {
  std::string Source;
  std::string Output;  // where it goes (or would have gone)
  PhotoOutcome Outcome = PhotoOutcome::NotDone;
  PhotoFailure Failure = PhotoFailure::None;
  std::string Detail;      // the cause in English, naming the file, for failures
  bool Numbered = false;   // its plain name belonged to an earlier photo of the batch
  bool Shortened = false;  // its name was cut to the file system's limit
};

// What a batch did with each photo, in list order.
struct BatchReport {
  std::vector<BatchPhotoResult> Photos;
  bool Cancelled = false;

  int Count(PhotoOutcome outcome) const {
    int n = 0;
    for (const BatchPhotoResult& photo : Photos) n += photo.Outcome == outcome ? 1 : 0;
    return n;
  }
  int Written() const { return Count(PhotoOutcome::Written); }
  int Failed() const { return Count(PhotoOutcome::Failed); }
};

}  // namespace lumatrim
