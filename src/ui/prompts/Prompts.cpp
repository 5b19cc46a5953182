#include "ui/prompts/Prompts.h"

#include <QInputDialog>
#include <QMessageBox>

const QString Prompts::kTitle = QStringLiteral("Korvel Lumatrim 1.5");

namespace {

void DefaultMessage(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, Prompts::kTitle, text, QMessageBox::Ok);
}

void DefaultError(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, Prompts::kTitle, text, QMessageBox::Ok);
}

bool DefaultQuestion(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, Prompts::kTitle, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

bool DefaultInput(QWidget* parent, const QString& title, const QString& prompt, QString& text) {
  bool ok = false;
  const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, text, &ok);
  if (ok) text = answer;
  return ok;
}

}  // namespace

Prompts::MessageFn Prompts::Message = DefaultMessage;
Prompts::MessageFn Prompts::Error = DefaultError;
Prompts::QuestionFn Prompts::Question = DefaultQuestion;
Prompts::InputFn Prompts::Input = DefaultInput;

void Prompts::RestoreDefaults() {
  Message = DefaultMessage;
  Error = DefaultError;
  Question = DefaultQuestion;
  Input = DefaultInput;
}
