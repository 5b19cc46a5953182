#pragma once
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>

#include "JpegBuilder.h"
#include "ui/prompts/Prompts.h"

// Helpers shared by the window tests.

// Real JPEG photos for the window tests, drawn and encoded by the program's
// own JPEG object, optionally with an EXIF block (a TIFF block from TiffBuilder).
namespace uitest {

// A path or text of the core as the windows take it.
inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// A temporary folder that is the working folder while it lives: the folder
// the user starts the program in, which the main window lists at start.
class WorkingFolder : public lumatrim::test::TempDir {
 public:
  WorkingFolder() { QDir::setCurrent(Q(Path())); }
  ~WorkingFolder() { QDir::setCurrent(previous_); }

 private:
  QString previous_ = QDir::currentPath();
};

std::string PhotoBytes(int width, int height, const std::string& exifTiff = {}, int seed = 0);
std::string WritePhoto(const std::string& path, int width, int height, const std::string& exifTiff = {},
                       int seed = 0);
// A JPEG stream as cameras store it as an EXIF thumbnail: the encoder's JFIF
// header dropped, so the tables follow the start marker (FF D8 FF DB).
std::string CameraThumbnail(const std::string& jpeg);
// The decoded RGB pixels of a JPEG file.
std::string DecodedPixels(const std::string& path);
// Width and height of a JPEG file.
std::pair<int, int> PhotoSize(const std::string& path);

// Delivers a mouse event straight to a widget, with exactly the given button
// state and modifier keys.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace uitest

// Answers for the modal boxes of the dialogs, recorded for the assertions.
namespace lumatrim::test {

struct PromptRecorder {
  QStringList messages;   // plain notices and errors, in order
  QStringList errors;     // errors only
  QStringList questions;
  QStringList inputTitles;
  QStringList inputPrompts;
  QStringList choices;     // texts of the boxes with buttons of our own
  QStringList inputNotes;  // what a checked input told about the text given
  bool answerYes = false;
  bool inputOk = true;
  QString inputText;
  int choiceAnswer = -1;   // the button pressed in those boxes; -1: closed

  PromptRecorder() {
    Prompts::Message = [this](QWidget*, const QString& text) { messages << text; };
    Prompts::Error = [this](QWidget*, const QString& text) {
      messages << text;
      errors << text;
    };
    Prompts::Question = [this](QWidget*, const QString& text) {
      questions << text;
      return answerYes;
    };
    Prompts::Input = [this](QWidget*, const QString& title, const QString& prompt, QString& text) {
      inputTitles << title;
      inputPrompts << prompt;
      if (inputOk) text = inputText;
      return inputOk;
    };
    Prompts::Choice = [this](QWidget*, const QString& text, const QStringList&) {
      choices << text;
      return choiceAnswer;
    };
    Prompts::CheckedInput = [this](QWidget* parent, const QString& title, const QString& prompt, QString& text,
                                   const Prompts::CheckFn& check, bool) {
      inputNotes << check(inputOk ? inputText : text);
      return Prompts::Input(parent, title, prompt, text);
    };
  }
  ~PromptRecorder() { Prompts::RestoreDefaults(); }
  PromptRecorder(const PromptRecorder&) = delete;
  PromptRecorder& operator=(const PromptRecorder&) = delete;
};

// Spins the event loop until done() or the time runs out; true when done.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace lumatrim::test
