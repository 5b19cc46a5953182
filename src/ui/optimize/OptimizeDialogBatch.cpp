// The batch side of the optimisation dialog: starting it, the gauge, "Přerušit",
// and the one summary at its end.
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <string>
#include <vector>

#include "ui/optimize/BatchSummary.h"
#include "ui/optimize/OptimizeDialog.h"
#include "ui/prompts/Prompts.h"

namespace {

// Integer value of a side edit; empty text counts as 0.
long SideValue(const QLineEdit* edit) { return edit->text().toLong(); }

}  // namespace

void OptimizeDialog::BackClicked() {
  if (running_) {
    // "Přerušit": the batch stops after the photo being written.
    backButton_->setEnabled(false);
    runner_->Cancel();
    return;
  }
  Current().Save();
  leaving_ = true;
  done(QDialog::Rejected);
}

void OptimizeDialog::CancelAndLeave() {
  runner_->CancelAndWait();
  running_ = false;
  leaving_ = true;
  done(QDialog::Rejected);
}

void OptimizeDialog::SetRunning(bool running) {
  running_ = running;
  backButton_->setText(running ? QStringLiteral("Přerušit") : QStringLiteral("< Zpět"));
  backButton_->setEnabled(true);
  targetGroup_->setEnabled(!running);
  compressionGroup_->setEnabled(!running);
  sizeGroup_->setEnabled(!running);
  removeGpsCheck_->setEnabled(!running);
  convertColoursCheck_->setEnabled(!running);
  if (running) {
    startButton_->setEnabled(false);
  } else {
    UpdateStartButton();
  }
}

void OptimizeDialog::StartClicked() {
  if (running_) return;
  if (targetFolderEdit_->text().isEmpty()) {
    Prompts::Message(this, QStringLiteral("Zadejte cestu k uložení!"));
    return;
  }
  if (!QFileInfo(targetFolderEdit_->text()).isDir()) {
    Prompts::Message(this, QStringLiteral("Cílová složka „%1“ neexistuje.")
                               .arg(QDir::toNativeSeparators(targetFolderEdit_->text())));
    return;
  }
  Current().Save();
  std::vector<std::string> sources;
  sources.reserve(static_cast<size_t>(sources_.size()));
  for (const QString& source : sources_) sources.push_back(source.toStdString());
  lumatrim::OptimizeSettings settings;
  settings.TargetFolder = targetFolderEdit_->text().toStdString();
  settings.Compression = compressionSlider_->value();
  settings.KeepSize = originalSizeRadio_->isChecked();
  settings.ShortSide = static_cast<int>(SideValue(widthEdit_));
  settings.LongSide = static_cast<int>(SideValue(lengthEdit_));
  settings.RemoveGps = removeGpsCheck_->isChecked();
  settings.ConvertToSrgb = convertColoursCheck_->isChecked();
  // The auto-filled field is only a 4:3 guide; the batch fits the free side to each photo.
  settings.Rule = fixedWidthRadio_->isChecked()    ? lumatrim::SizeRule::ShortSideFixed
                  : fixedLengthRadio_->isChecked() ? lumatrim::SizeRule::LongSideFixed
                                                   : lumatrim::SizeRule::BothSides;

  progressBar_->setRange(0, std::max(1, static_cast<int>(sources.size())));
  progressBar_->setValue(0);
  progressBar_->show();
  SetRunning(true);
  // The photos are processed off this thread; progress and the end come
  // back as queued signals, so the window keeps repainting.
  runner_->Start(std::move(sources), std::move(settings));
}

void OptimizeDialog::OnPhotoDone(int done) {
  if (done > progressBar_->value()) progressBar_->setValue(done);
}

void OptimizeDialog::OnBatchFinished(bool started, const lumatrim::BatchReport& report, const QString& message) {
  if (leaving_) return;  // stopped because the main window is closing
  if (!started) {
    // Nothing was written; the user can correct the target or the sizes.
    Prompts::Error(this, QStringLiteral("Optimalizace se nezdařila.\n\n") + message);
    progressBar_->hide();
    progressBar_->setValue(0);
    SetRunning(false);
    emit BatchEnded(false);
    return;
  }
  const bool everyPhoto = !report.Cancelled && report.Failed() == 0;
  sources_ = PhotosLeftInTray(report);
  emit TrayLeft(sources_);
  if (everyPhoto) {
    progressBar_->setValue(progressBar_->maximum());
    Prompts::Message(this, BatchSummary(report));
    running_ = false;
    emit BatchCompleted();
    emit BatchEnded(true);
    leaving_ = true;
    done(QDialog::Accepted);
    return;
  }
  if (report.Cancelled) {
    // Stopped by the user: the dialog stays, ready to go on with the photos
    // that are left.
    Prompts::Message(this, BatchSummary(report));
    progressBar_->hide();
    progressBar_->setValue(0);
    SetRunning(false);
    emit BatchEnded(false);
    return;
  }
  // Some photos failed: the summary names them; they wait in the tray.
  Prompts::Error(this, BatchSummary(report));
  running_ = false;
  emit BatchEnded(false);
  leaving_ = true;
  done(QDialog::Accepted);
}
