#pragma once
#include <QDialog>
#include <QStringList>
#include <array>
#include <memory>

#include "ui/optimize/BatchRunner.h"
#include "ui/optimize/OptimizeMemory.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;

// "Optimalizace": target folder, compression and requested size for the tray's
// photos, and the batch itself. The dialog can be left only through "< Zpět" or
// the end of a batch; while the batch runs, "Přerušit" stands in the place of
// "< Zpět" and stops it. The settings are remembered between runs.
class OptimizeDialog : public QDialog {
  Q_OBJECT

 public:
  // batch: what "Optimalizovat" runs (the core engine; tests may pass their own).
  explicit OptimizeDialog(QWidget* parent = nullptr, BatchFunction batch = RunEngineBatch);
  ~OptimizeDialog() override;

  // The photos of the batch, in the tray's order.
  void SetSources(const QStringList& paths) { sources_ = paths; }
  const QStringList& Sources() const { return sources_; }
  bool BatchRunning() const { return running_; }
  // Stops a running batch and waits for it, then leaves the dialog (the main
  // window is closing).
  void CancelAndLeave();

  // Handlers, one per user event.
  void ChooseTargetClicked();
  void CompressionChanged();
  void FixedWidthChosen();
  void FixedLengthChosen();
  void CustomSizeChosen();
  void OriginalSizeChosen();
  void WidthEdited();
  void LengthEdited();
  void StartClicked();
  void BackClicked();  // "< Zpět", or "Přerušit" while the batch runs

  // The controls the tests and the screenshot program drive.
  QLineEdit* TargetFolderEdit() const { return targetFolderEdit_; }
  QSlider* CompressionSlider() const { return compressionSlider_; }
  QGroupBox* SizeGroup() const { return sizeGroup_; }
  QRadioButton* FixedWidthRadio() const { return fixedWidthRadio_; }
  QRadioButton* FixedLengthRadio() const { return fixedLengthRadio_; }
  QRadioButton* CustomSizeRadio() const { return customSizeRadio_; }
  QRadioButton* OriginalSizeRadio() const { return originalSizeRadio_; }
  QLineEdit* WidthEdit() const { return widthEdit_; }
  QLineEdit* LengthEdit() const { return lengthEdit_; }
  QPushButton* StartButton() const { return startButton_; }
  QPushButton* BackButton() const { return backButton_; }
  QProgressBar* ProgressBar() const { return progressBar_; }
  QCheckBox* RemoveGpsCheck() const { return removeGpsCheck_; }
  QCheckBox* ConvertColoursCheck() const { return convertColoursCheck_; }

 signals:
  // Every photo of the tray was written; the opener empties its tray.
  void BatchCompleted();
  // A batch ran (to its end or until stopped): the tray keeps only these,
  // the photos that were not written, in order.
  void TrayLeft(const QStringList& remaining);
  // The batch ended, successfully or not (for the tests and the benchmark).
  void BatchEnded(bool success);

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // A size mode with its radio button and the handler a click on it runs.
  struct SizeChoice {
    OptimizeMemory::SizeMode mode;
    QRadioButton* radio;
    void (OptimizeDialog::*chosen)();
  };

  void BuildControls();
  std::array<SizeChoice, 4> SizeChoices() const;
  void HideCloseButton();
  void SetSizeMode(bool widthEditable, bool lengthEditable, bool startEnabled);
  void UpdateStartButton();
  void SetRunning(bool running);
  void OnPhotoDone(int done);
  void OnBatchFinished(bool started, const lumatrim::BatchReport& report, const QString& message);
  void Restore(const OptimizeMemory& memory);
  OptimizeMemory Current() const;

  QGroupBox* targetGroup_ = nullptr;
  QPushButton* chooseTargetButton_ = nullptr;
  QLineEdit* targetFolderEdit_ = nullptr;
  QGroupBox* compressionGroup_ = nullptr;
  QSlider* compressionSlider_ = nullptr;
  QLabel* compressionMinLabel_ = nullptr;
  QLabel* compressionMaxLabel_ = nullptr;
  QLabel* compressionValueLabel_ = nullptr;
  QGroupBox* sizeGroup_ = nullptr;
  QRadioButton* fixedWidthRadio_ = nullptr;
  QRadioButton* fixedLengthRadio_ = nullptr;
  QRadioButton* customSizeRadio_ = nullptr;
  QRadioButton* originalSizeRadio_ = nullptr;
  QLabel* widthLabel_ = nullptr;
  QLineEdit* widthEdit_ = nullptr;
  QLabel* lengthLabel_ = nullptr;
  QLineEdit* lengthEdit_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* backButton_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QCheckBox* removeGpsCheck_ = nullptr;
  QCheckBox* convertColoursCheck_ = nullptr;  // "Převést barvy do sRGB"; off keeps each photo's profile
  QFrame* notePanel_ = nullptr;
  QLabel* noteLabel_ = nullptr;

  QStringList sources_;
  double shortSide_ = 0;
  double longSide_ = 0;
  bool running_ = false;
  bool leaving_ = false;  // set by the two legitimate ways out
  std::unique_ptr<BatchRunner> runner_;
};
