#include "core/exif/ReadOutcome.h"

namespace lumatrim {

std::string ReadOutcome::Text() const {
  switch (status) {
    case ReadStatus::NotRead: return "";
    case ReadStatus::Read: return "<none>";
    case ReadStatus::NotExif: return "Not an EXIF file";
    case ReadStatus::IllegalConstruction: return "Illegal Exif construction";
    case ReadStatus::IncorrectExifHeader: return "Incorrect Exif header";
    case ReadStatus::InvalidAlignment: return "Invalid Exif alignment marker";
    case ReadStatus::IllegallySizedDirectory: return "Illegally sized directory";
    case ReadStatus::ErrorDetected: return "Error Detected = " + detail;
  }
  return "";
}

}  // namespace lumatrim
