#pragma once
#include <string>

namespace lumatrim {

// How reading a photo's metadata ended. Reading never throws: a damaged photo
// gives what could be read and one of these.
enum class ReadStatus {
  NotRead,                  // no path, no such file, or a folder
  Read,                     // the metadata segments were found
  NotExif,                  // neither a JPEG nor a TIFF with metadata
  IllegalConstruction,      // not a regular file, or the file failed mid-read
  IncorrectExifHeader,      // an APP1 without "Exif"
  InvalidAlignment,         // neither "II" nor "MM"
  IllegallySizedDirectory,  // a directory's entries run past its block
  ErrorDetected,            // an entry stopped a walk; the detail says why
};

struct ReadOutcome {
  ReadStatus status = ReadStatus::NotRead;
  std::string detail;  // for ErrorDetected

  // A walk that stopped early (not merely a file that was not read).
  bool Failed() const { return status != ReadStatus::NotRead && status != ReadStatus::Read; }
  // The outcome as the tools print it ("<none>" after a good read).
  std::string Text() const;
  static ReadOutcome Error(const std::string& detail) { return {ReadStatus::ErrorDetected, detail}; }
  static ReadOutcome Of(ReadStatus status) { return {status, {}}; }
};

}  // namespace lumatrim
