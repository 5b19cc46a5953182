#pragma once
#include <QString>
#include <functional>

class QWidget;

// The modal boxes of the dialogs (message, Yes/No question, text input). They
// go through these replaceable functions so the widget tests can answer them
// without a nested event loop; the program keeps the defaults.
struct Prompts {
  static const QString kTitle;  // caption of every message box

  using MessageFn = std::function<void(QWidget* parent, const QString& text)>;
  using QuestionFn = std::function<bool(QWidget* parent, const QString& text)>;
  // Returns false on Cancel; text holds the initial text and receives the answer.
  using InputFn =
      std::function<bool(QWidget* parent, const QString& title, const QString& prompt, QString& text)>;

  static MessageFn Message;  // plain notice
  static MessageFn Error;    // a failure's message (warning sign)
  static QuestionFn Question;
  static InputFn Input;

  // Puts the real message box, question box and input box back.
  static void RestoreDefaults();
};
