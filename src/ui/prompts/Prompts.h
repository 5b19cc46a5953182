#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QInputDialog;
class QMessageBox;
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

  // An input whose text is checked as the user types: check gives the note
  // shown under the prompt (empty when all is well). multiLine offers a box
  // of several lines (a list, one item a line).
  using CheckFn = std::function<QString(const QString& text)>;
  using CheckedInputFn = std::function<bool(QWidget* parent, const QString& title, const QString& prompt,
                                            QString& text, const CheckFn& check, bool multiLine)>;

  static MessageFn Message;  // plain notice
  static MessageFn Error;    // a failure's message (warning sign)
  static QuestionFn Question;
  static InputFn Input;
  // A box with buttons of our own captions; the index of the one pressed,
  // -1 when the box was closed without one. The last button is the default.
  using ChoiceFn = std::function<int(QWidget* parent, const QString& text, const QStringList& buttons)>;
  static ChoiceFn Choice;
  static CheckedInputFn CheckedInput;

  // Puts the real message box, question box and input box back.
  static void RestoreDefaults();

  // The real boxes, built but not shown (the defaults exec them; tests look
  // at their buttons and sizes). Texts wrap, also inside long paths, and the
  // box stays under kMaxBoxWidth.
  static constexpr int kMaxBoxWidth = 600;
  static QMessageBox* MakeMessageBox(QWidget* parent, int icon, const QString& text, int buttons);
  static QMessageBox* MakeQuestionBox(QWidget* parent, const QString& text);
  // As wide as its title and its value need (within kMaxBoxWidth).
  static QInputDialog* MakeInputDialog(QWidget* parent, const QString& title, const QString& prompt,
                                       const QString& text);
};
