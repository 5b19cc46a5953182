#pragma once
// Answers for the modal boxes of the dialogs, recorded for the assertions.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>

#include "ui/cil/Prompts.h"

namespace lumatrim::test {

struct PromptRecorder {
  QStringList messages;   // plain notices and errors, in order
  QStringList errors;     // errors only
  QStringList questions;
  QStringList inputTitles;
  QStringList inputPrompts;
  bool answerYes = false;
  bool inputOk = true;
  QString inputText;

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
