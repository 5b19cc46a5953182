#include "ui/prompts/Prompts.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <memory>

const QString Prompts::kTitle = QStringLiteral("Korvel Lumatrim 1.5");

namespace {

constexpr int kLabelWidth = 520;  // the text column; icon and margins make up the rest
constexpr int kMinInputWidth = 320;
constexpr int kLongRun = 30;

// Paths and other long unbroken runs get invisible break chances (after a
// slash, an underscore, a dot or every kLongRun characters), so the label can
// wrap them instead of growing wider than the screen.
QString Breakable(const QString& text) {
  const QChar zeroWidthSpace(0x200B);
  QString out;
  out.reserve(text.size() + text.size() / 8);
  int run = 0;
  for (const QChar ch : text) {
    out += ch;
    run = ch.isSpace() ? 0 : run + 1;
    if (ch == QLatin1Char('/') || ch == QLatin1Char('_') || ch == QLatin1Char('.') || run >= kLongRun) {
      out += zeroWidthSpace;
      run = 0;
    }
  }
  return out;
}

void DefaultMessage(QWidget* parent, const QString& text) {
  std::unique_ptr<QMessageBox> box(Prompts::MakeMessageBox(parent, QMessageBox::Information, text, QMessageBox::Ok));
  box->exec();
}

void DefaultError(QWidget* parent, const QString& text) {
  std::unique_ptr<QMessageBox> box(Prompts::MakeMessageBox(parent, QMessageBox::Warning, text, QMessageBox::Ok));
  box->exec();
}

bool DefaultQuestion(QWidget* parent, const QString& text) {
  std::unique_ptr<QMessageBox> box(Prompts::MakeQuestionBox(parent, text));
  return box->exec() == QMessageBox::Yes;
}

bool DefaultInput(QWidget* parent, const QString& title, const QString& prompt, QString& text) {
  std::unique_ptr<QInputDialog> dialog(Prompts::MakeInputDialog(parent, title, prompt, text));
  if (dialog->exec() != QDialog::Accepted) return false;
  text = dialog->textValue();
  return true;
}

int DefaultChoice(QWidget* parent, const QString& text, const QStringList& buttons) {
  std::unique_ptr<QMessageBox> box(Prompts::MakeMessageBox(parent, QMessageBox::Information, text, QMessageBox::NoButton));
  QList<QAbstractButton*> made;
  for (const QString& caption : buttons) made << box->addButton(caption, QMessageBox::AcceptRole);
  if (!made.isEmpty()) box->setDefaultButton(static_cast<QPushButton*>(made.last()));
  box->exec();
  return static_cast<int>(made.indexOf(box->clickedButton()));
}

bool DefaultCheckedInput(QWidget* parent, const QString& title, const QString& prompt, QString& text,
                         const Prompts::CheckFn& check, bool multiLine) {
  std::unique_ptr<QInputDialog> dialog(Prompts::MakeInputDialog(parent, title, prompt, text));
  if (multiLine) {
    dialog->setOption(QInputDialog::UsePlainTextEditForTextInput);
    dialog->setTextValue(text);
  }
  const auto showNote = [&](const QString& typed) {
    const QString note = check ? check(typed) : QString();
    dialog->setLabelText(note.isEmpty() ? prompt : prompt + QLatin1Char('\n') + note);
  };
  QObject::connect(dialog.get(), &QInputDialog::textValueChanged, dialog.get(), showNote);
  showNote(text);
  if (dialog->exec() != QDialog::Accepted) return false;
  text = dialog->textValue();
  return true;
}

}  // namespace

Prompts::ChoiceFn Prompts::Choice = DefaultChoice;
Prompts::MessageFn Prompts::Message = DefaultMessage;
Prompts::MessageFn Prompts::Error = DefaultError;
Prompts::QuestionFn Prompts::Question = DefaultQuestion;
Prompts::InputFn Prompts::Input = DefaultInput;
Prompts::CheckedInputFn Prompts::CheckedInput = DefaultCheckedInput;

void Prompts::RestoreDefaults() {
  Message = DefaultMessage;
  Error = DefaultError;
  Question = DefaultQuestion;
  Input = DefaultInput;
  Choice = DefaultChoice;
  CheckedInput = DefaultCheckedInput;
}

QMessageBox* Prompts::MakeMessageBox(QWidget* parent, int icon, const QString& text, int buttons) {
  auto* box = new QMessageBox(static_cast<QMessageBox::Icon>(icon), kTitle, Breakable(text),
                              static_cast<QMessageBox::StandardButtons>(buttons), parent);
  box->setTextFormat(Qt::PlainText);
  if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    label->setWordWrap(true);
    label->setMaximumWidth(kLabelWidth);
  }
  box->setMaximumWidth(kMaxBoxWidth);
  return box;
}

QMessageBox* Prompts::MakeQuestionBox(QWidget* parent, const QString& text) {
  QMessageBox* box = MakeMessageBox(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No);
  box->setDefaultButton(QMessageBox::No);
  return box;
}

QInputDialog* Prompts::MakeInputDialog(QWidget* parent, const QString& title, const QString& prompt,
                                       const QString& text) {
  auto* dialog = new QInputDialog(parent);
  dialog->setWindowTitle(title);
  dialog->setLabelText(prompt);
  dialog->setTextValue(text);
  dialog->setInputMode(QInputDialog::TextInput);
  // The title bar's font is the window manager's; allow for a larger one
  // than ours, plus the buttons of the title bar.
  const QFontMetrics metrics(dialog->font());
  const int titleNeed = metrics.horizontalAdvance(title) * 3 / 2 + 120;
  const int valueNeed = metrics.horizontalAdvance(text) + 60;
  dialog->resize(std::clamp(std::max(titleNeed, valueNeed), kMinInputWidth, kMaxBoxWidth),
                 dialog->sizeHint().height());
  return dialog;
}
