#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/jpeg/Orientation.h"

// Lossless rotation through the external `jpegtran` tool. A turn is of the
// picture as the user sees it: the photo's EXIF Orientation and the turn
// become one transform of the stored blocks, and the result is upright with
// Orientation 1, its EXIF sizes and thumbnail matching it. The tool writes a
// temporary file beside the photo; the photo is replaced only when every step
// succeeded and the result decodes, so a failure leaves it byte for byte.
// A failure throws lumatrim::LumatrimError with the sentence for the user.
class JpegRotator {
 public:
  // Looks for the tool now (ToolPath); ToolFound keeps that answer.
  JpegRotator();
  // Uses the given tool file (empty or missing: not found).
  explicit JpegRotator(const QString& toolPath);

  bool ToolFound() const { return toolFound_; }
  // `jpegtran` beside the running program, else the one on PATH, else empty.
  static QString ToolPath();
  // holiday.jpg + "_rot" -> holiday_rot.jpg; without a "." the suffix goes in front.
  static QString SuffixedName(const QString& path, const QString& suffix);
  // The tool's switches for a transform (none for None).
  static QStringList TransformSwitches(lumatrim::PixelTransform transform);

  // Runs the tool with the switches on input, writing output (a new file).
  void RunTool(const QString& input, const QString& output, const QStringList& switches);
  // 90 degrees counter-clockwise / clockwise. Returns the output path.
  QString RotateLeft(const QString& path, bool inPlace);
  QString RotateRight(const QString& path, bool inPlace);

  // How long one run of the tool may take before it is stopped.
  void SetTimeLimit(int milliseconds) { timeLimitMs_ = milliseconds; }

 private:
  QString Rotate(const QString& path, bool inPlace, lumatrim::PixelTransform turn);
  // The thumbnail turned by the tool without loss, or empty when the tool
  // cannot turn it whole (its sides are not whole blocks) or fails.
  QByteArray TransformThumbnail(const QByteArray& jpeg, lumatrim::PixelTransform transform);
  // Orientation 1, the turned file's real size and a thumbnail turned with it
  // (or made anew) in its EXIF, and the same properties of its XMP. Throws
  // LumatrimError.
  void WriteUprightExif(const QString& turnedPath, lumatrim::PixelTransform transform, int width, int height);

  QString tool_;
  bool toolFound_ = false;
  int timeLimitMs_ = 60000;
};
