// The rotation buttons: every selected photo is turned, each on its own and
// atomically, under one progress and with one summary at the end.
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <memory>

#include "core/bytes/Error.h"
#include "rotation/JpegRotator.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/PhotoFileList.h"
#include "ui/prompts/AppTitle.h"
#include "ui/prompts/FailureText.h"

namespace {

// Three answers: a turn that trims may go on this once, not at all, or always.
MainWindow::TrimAnswer AskAboutTrim(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppTitle), text, QMessageBox::Yes | QMessageBox::No,
                  parent);
  QPushButton* always = box.addButton(QStringLiteral("Vždy"), QMessageBox::AcceptRole);
  box.setDefaultButton(QMessageBox::Yes);
  box.exec();
  if (box.clickedButton() == always) return MainWindow::TrimAnswer::Always;
  return box.clickedButton() == box.button(QMessageBox::Yes) ? MainWindow::TrimAnswer::Yes
                                                             : MainWindow::TrimAnswer::No;
}

}  // namespace

void MainWindow::RotateLeftClicked() { Rotate(true); }

void MainWindow::RotateRightClicked() { Rotate(false); }

bool MainWindow::ConfirmTrim(const QStringList& paths, bool left) {
  QSettings settings;
  if (settings.value(QLatin1String(kTrimAlwaysKey)).toBool()) return true;
  int trimming = 0;
  QSize largest;
  for (const QString& path : paths) {
    const QSize trim = RotationTrim(path, left);
    if (trim.width() <= 0 && trim.height() <= 0) continue;
    ++trimming;
    largest = largest.expandedTo(trim);
  }
  if (trimming == 0) return true;
  const QString pixels = JpegRotator::TrimText({largest.width(), largest.height()});
  const QString text = paths.size() > 1
                           ? QStringLiteral("Otočení bez ztráty ořízne u %1 fotografií okraje až %2. Pokračovat?")
                                 .arg(trimming)
                                 .arg(pixels)
                           : QStringLiteral("Otočení bez ztráty ořízne %1. Pokračovat?").arg(pixels);
  const TrimAnswer answer = trimAsker_ ? trimAsker_(text) : AskAboutTrim(this, text);
  if (answer == TrimAnswer::Always) settings.setValue(QLatin1String(kTrimAlwaysKey), true);
  return answer != TrimAnswer::No;
}

void MainWindow::Rotate(bool left) {
  const QStringList paths = SelectedFiles();
  if (paths.isEmpty() || !ConfirmTrim(paths, left)) return;
  // One photo turns under the busy cursor; several under one progress that
  // can be stopped between two photos.
  std::unique_ptr<QProgressDialog> progress;
  if (paths.size() > 1) {
    progress = std::make_unique<QProgressDialog>(QStringLiteral("Otáčení fotografií…"), QStringLiteral("Přerušit"), 0,
                                                 static_cast<int>(paths.size()), this);
    progress->setObjectName(QStringLiteral("rotationProgress"));
    progress->setWindowTitle(QString::fromUtf8(kAppTitle));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(300);
  }
  QStringList failures;
  int turned = 0;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (const QString& path : paths) {
    if (progress) {
      progress->setValue(turned + static_cast<int>(failures.size()));
      if (progress->wasCanceled()) break;
    }
    try {
      if (left)
        rotator_->RotateLeft(path, true);
      else
        rotator_->RotateRight(path, true);
      ++turned;
      fileList_->ForgetThumbnail(path);
    } catch (const lumatrim::LumatrimError& error) {
      const QString reason = failuretext::Message(QString(), error);
      failures << (paths.size() > 1 ? QFileInfo(path).fileName() + QStringLiteral(": ") + reason : reason);
    }
  }
  if (progress) progress->setValue(progress->maximum());
  QApplication::restoreOverrideCursor();
  // One summary: the failures in one box, or a line in the status bar.
  if (!failures.isEmpty()) {
    const QString lead = paths.size() > 1 ? QStringLiteral("Některé fotografie se nepodařilo otočit.\n")
                                          : QStringLiteral("Fotografii se nepodařilo otočit. ");
    ShowMessage(lead + failures.join(QLatin1Char('\n')));
  } else if (paths.size() > 1) {
    SetHint(QStringLiteral("Otočeno fotografií: %1").arg(turned));
  }
  ShowSelectedPhoto();
}

QSize MainWindow::RotationTrim(const QString& path, bool left) {
  const lumatrim::EdgeTrim trim =
      JpegRotator::PlannedTrim(path, left ? JpegRotator::Direction::Left : JpegRotator::Direction::Right);
  return {trim.columns, trim.rows};
}
