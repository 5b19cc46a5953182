#pragma once
#include <QImage>
#include <QString>
#include <cstdint>

#include "core/bytes/Error.h"
#include "ui/preview/PhotoFit.h"

// What the preview asks a worker thread for, and what comes back: plain
// values only (a QImage, never a pixmap), so the decode can run off the
// window's thread.
struct PreviewRequest {
  uint64_t Generation = 0;  // newer requests have larger numbers
  QString Path;
  int Orientation = 1;  // EXIF Orientation, applied to the decoded pixels
  int BoxWidth = 0;
  int BoxHeight = 0;
  bool FitSquare = true;
  double PixelRatio = 1.0;  // device pixels per window pixel, for a sharp picture
};

struct DecodedPreview {
  uint64_t Generation = 0;
  QString Path;
  bool Failed = false;
  lumatrim::FailureKind Kind = lumatrim::FailureKind::Other;
  QString Detail;
  int PhotoWidth = 0;  // upright size of the whole photo
  int PhotoHeight = 0;
  photofit::Placement Place;  // in window pixels
  QImage Picture;             // upright, Place's size times the pixel ratio
};

// Reads, decodes (with libjpeg's DCT scaling), turns upright and reduces the
// photo into the box. Never throws: failures come back in the value.
DecodedPreview DecodePreview(const PreviewRequest& request);
