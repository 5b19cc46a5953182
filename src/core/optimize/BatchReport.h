#pragma once
#include <string>
#include <vector>

#include "core/bytes/Error.h"

namespace lumatrim {

enum class PhotoOutcome {
  Written,
  Failed,
  NotDone,  // the batch was cancelled before this photo
};

struct BatchPhotoResult {
  std::string Source;
  std::string Output;  // where it goes (or would have gone)
  PhotoOutcome Outcome = PhotoOutcome::NotDone;
  // Why it was not written, one kind for each case the batch tells apart:
  // FileMissing (no such file), NoPermission (no right to read it),
  // DamagedData (not a JPEG, or one that cannot be decoded), OutOfMemory,
  // WriteFailed (the output could not be written: full disk, no rights, ...).
  // The windows turn it into a sentence; Detail keeps the engine's words.
  FailureKind Failure = FailureKind::Other;
  std::string Detail;      // the cause in English, naming the file, for failures
  bool Numbered = false;   // its plain name belonged to an earlier photo of the batch
  bool Shortened = false;  // its name was cut to the file system's limit
  bool XmpGpsRemoved = false;  // asked to leave GPS out, the position was also taken out of its XMP
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
  int XmpGpsRemoved() const {
    int n = 0;
    for (const BatchPhotoResult& photo : Photos) n += photo.Outcome == PhotoOutcome::Written && photo.XmpGpsRemoved ? 1 : 0;
    return n;
  }
};

}  // namespace lumatrim
