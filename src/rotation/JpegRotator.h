#pragma once
#include <QString>
#include <QStringList>

// Lossless rotation through the external `jpegtran` tool. The tool writes a
// temporary file beside the photo; the photo is replaced only when the tool
// succeeded and its output decodes, so a failure leaves it byte for byte.
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

  // Runs the tool on input and puts its result at output (which may be input).
  void RunTool(const QString& input, const QString& output, const QStringList& switches);
  // 90 degrees counter-clockwise / clockwise. Returns the output path.
  QString RotateLeft(const QString& path, bool inPlace);
  QString RotateRight(const QString& path, bool inPlace);

  // How long one run of the tool may take before it is stopped.
  void SetTimeLimit(int milliseconds) { timeLimitMs_ = milliseconds; }

 private:
  QString Rotate(const QString& path, bool inPlace, const QString& angle);

  QString tool_;
  bool toolFound_ = false;
  int timeLimitMs_ = 60000;
};
