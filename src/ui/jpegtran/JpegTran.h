#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Lossless rotation through the external `jpegtran` tool. The tool writes a
// temporary file beside the photo; the photo is replaced only when the tool
// succeeded and its output decodes, so a failure leaves it byte for byte.
class TJpegTran : public QObject {
  Q_OBJECT

 public:
  using MessageSink = std::function<void(const QString&)>;

  // Looks for the tool now (ToolPath); ToolFound keeps that answer.
  explicit TJpegTran(QObject* owner = nullptr);
  // Uses the given tool file (empty or missing: not found).
  TJpegTran(QObject* owner, const QString& toolPath);

  bool ToolFound() const { return FToolFound; }
  // `jpegtran` beside the running program, else the one on PATH, else empty.
  static QString ToolPath();
  // holiday.jpg + "_rot" -> holiday_rot.jpg; without a "." the suffix goes in front.
  static QString SuffixedName(const QString& path, const QString& suffix);

  // Runs the tool on input and puts its result at output (which may be
  // input). True when the output is in place; false after a reported failure.
  bool RunTool(const QString& input, const QString& output, const QStringList& switches);
  // 90 degrees counter-clockwise / clockwise. Returns the output path, or
  // empty text when the rotation failed (the failure has been reported).
  QString RotateLeft(const QString& path, bool inPlace);
  QString RotateRight(const QString& path, bool inPlace);

  // Where failures are reported; by default a message box in the desktop
  // program and standard error elsewhere.
  void SetMessageSink(MessageSink sink) { sink_ = std::move(sink); }
  QString LastMessage() const { return lastMessage_; }
  // How long one run of the tool may take before it is stopped.
  void SetTimeLimit(int milliseconds) { timeLimitMs_ = milliseconds; }

 private:
  QString Rotate(const QString& path, bool inPlace, const QString& angle);
  void Report(const QString& text);

  QString tool_;
  bool FToolFound = false;
  MessageSink sink_;
  QString lastMessage_;
  int timeLimitMs_ = 60000;
};
