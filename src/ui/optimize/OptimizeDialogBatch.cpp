// The batch side of the optimisation dialog: starting it, the gauge, "Přerušit",
// and the one summary at its end.
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QLabel>
#include <QFileInfo>
#include <QGroupBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QRadioButton>
#include <QSlider>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "core/optimize/OutputNames.h"
#include "ui/optimize/BatchSummary.h"
#include "ui/optimize/OptimizeDialog.h"
#include "ui/prompts/Prompts.h"

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
  for (QWidget* control : std::initializer_list<QWidget*>{targetGroup_, presetGroup_, removeGpsCheck_, enlargeCheck_,
                                                          keepIfSmallerCheck_, namePatternEdit_,
                                                          convertColoursCheck_}) {
    control->setEnabled(!running);
  }
  customPage_->setEnabled(!running && CustomTicked());
  QualityModeChosen();  // the compression slider counts only for fixed compression
  if (running) {
    startButton_->setEnabled(false);
    // No guess comes while the batch runs.
    if (estimateLabel_->text().startsWith(QStringLiteral("Odhaduji"))) estimateLabel_->clear();
    estimateTimer_->stop();
  } else {
    UpdateStartButton();
  }
}

// A missing target folder is made, after asking (the suggested one is new
// on a first run); false when the batch cannot start.
bool OptimizeDialog::PrepareTarget() {
  const QString target = targetFolderEdit_->text();
  if (target.isEmpty()) {
    Prompts::Message(this, QStringLiteral("Zadejte cestu k uložení!"));
    return false;
  }
  if (QFileInfo(target).isDir()) return true;
  if (QFileInfo::exists(target)) {
    Prompts::Error(this, QStringLiteral("„%1“ není složka.").arg(QDir::toNativeSeparators(target)));
    return false;
  }
  if (!Prompts::Question(this, QStringLiteral("Cílová složka „%1“ neexistuje. Vytvořit ji?")
                                   .arg(QDir::toNativeSeparators(target)))) {
    return false;
  }
  if (!QDir().mkpath(target)) {
    Prompts::Error(this, QStringLiteral("Cílovou složku „%1“ se nepodařilo vytvořit.").arg(QDir::toNativeSeparators(target)));
    return false;
  }
  return true;
}

// Outputs of an earlier run in the way: the user says once, for the whole
// run, what becomes of them; false when the box was closed.
bool OptimizeDialog::AskAboutExistingOutputs(std::vector<lumatrim::OptimizeSettings>& runs) {
  std::vector<std::string> sources;
  for (const QString& source : sources_) sources.push_back(source.toStdString());
  int existing = 0;
  for (const lumatrim::OptimizeSettings& run : runs) existing += lumatrim::CountExistingOutputs(sources, run);
  if (existing == 0) return true;
  constexpr lumatrim::ExistingOutput kAnswers[] = {lumatrim::ExistingOutput::Overwrite,
                                                   lumatrim::ExistingOutput::Skip,
                                                   lumatrim::ExistingOutput::Number};
  const int answer = Prompts::Choice(
      this,
      QStringLiteral("V cílové složce už jsou soubory se stejnými názvy (%1). Co s nimi?").arg(existing),
      {QStringLiteral("Přepsat"), QStringLiteral("Přeskočit"), QStringLiteral("Přidat číslo")});
  if (answer < 0 || answer >= static_cast<int>(std::size(kAnswers))) return false;
  for (lumatrim::OptimizeSettings& run : runs) run.Existing = kAnswers[answer];
  return true;
}

void OptimizeDialog::StartClicked() {
  if (running_ || !PrepareTarget()) return;
  std::vector<lumatrim::OptimizeSettings> runs = PlannedRuns();
  if (runs.empty()) return;
  for (const lumatrim::OptimizeSettings& run : runs) {
    if (!QDir().mkpath(QString::fromStdString(run.TargetFolder))) {
      Prompts::Error(this, QStringLiteral("Složku „%1“ se nepodařilo vytvořit.").arg(QString::fromStdString(run.TargetFolder)));
      return;
    }
  }
  if (CustomTicked()) {
    lumatrim::OptimizeSettings custom;
    if (!ReadQuality(custom)) return;  // says what the quality target should look like
  }
  if (!AskAboutExistingOutputs(runs)) return;
  Current().Save();
  std::vector<std::string> sources;
  sources.reserve(static_cast<size_t>(sources_.size()));
  for (const QString& source : sources_) sources.push_back(source.toStdString());

  progressBar_->setRange(0, std::max(1, static_cast<int>(sources.size() * runs.size())));
  progressBar_->setValue(0);
  progressBar_->show();
  SetRunning(true);
  // The photos are processed off this thread; progress and the end come
  // back as queued signals, so the window keeps repainting.
  runner_->Start(std::move(sources), std::move(runs));
}

void OptimizeDialog::OpenTargetFolder(const QString& folder) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
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
    const QString target = targetFolderEdit_->text();
    if (Prompts::Choice(this, BatchSummary(report), {QStringLiteral("Otevřít složku"), QStringLiteral("OK")}) == 0) {
      OpenTargetFolder(target);
    }
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
