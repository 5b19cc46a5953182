#pragma once
#include <QDialog>
#include <QStringList>
#include <array>
#include <memory>

#include "core/optimize/OptimizePresets.h"
#include "ui/optimize/BatchRunner.h"
#include "ui/optimize/OptimizeMemory.h"
#include "ui/optimize/SizeEstimator.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTimer;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;

// "Optimalizace": target folder, the presets ticked for the run ("Vlastní"
// being the compression and requested size set below the list), what to do
// with small photos and output names, and the batch itself. The dialog can be left only through "< Zpět" or
// the end of a batch; while the batch runs, "Přerušit" stands in the place of
// "< Zpět" and stops it. The settings are remembered between runs.
class OptimizeDialog : public QDialog {
  Q_OBJECT

 public:
  // batch: what "Optimalizovat" runs (the core engine; tests may pass their own).
  explicit OptimizeDialog(QWidget* parent = nullptr, BatchFunction batch = RunEngineBatch);
  ~OptimizeDialog() override;

  // The photos of the batch, in the tray's order, each with the folder under
  // the target it goes to ("" or none: the target itself). A target folder
  // that is not there any more gives way to <first photo's folder>/Lumatrim.
  void SetSources(const QStringList& paths, const QStringList& subfolders = {});
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
  void QualityModeChosen();
  void StartClicked();
  void BackClicked();  // "< Zpět", or "Přerušit" while the batch runs
  void PresetTicked();
  void SavePresetClicked();
  void DeletePresetClicked();
  void NamePatternEdited();

  // Ticks or unticks the preset of that name (as a click on its box would).
  void SetPresetTicked(const QString& name, bool ticked);
  void TickOnlyPreset(const QString& name);
  QStringList TickedPresets() const;
  // One run per ticked preset, as "Optimalizovat" would start them
  // (each into its subfolder when there are several).
  std::vector<lumatrim::OptimizeSettings> PlannedRuns() const;

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
  QListWidget* PresetList() const { return presetList_; }
  QCheckBox* EnlargeCheck() const { return enlargeCheck_; }
  QCheckBox* KeepIfSmallerCheck() const { return keepIfSmallerCheck_; }
  QLineEdit* NamePatternEdit() const { return namePatternEdit_; }
  QLabel* NamePreviewLabel() const { return namePreviewLabel_; }
  QLabel* EstimateLabel() const { return estimateLabel_; }
  QComboBox* QualityModeCombo() const { return qualityModeCombo_; }
  QLineEdit* QualityTargetEdit() const { return qualityTargetEdit_; }
  QLineEdit* AutoCeilingEdit() const { return autoCeilingEdit_; }
  QCheckBox* ConvertColoursCheck() const { return convertColoursCheck_; }

 signals:
  // Every photo of the tray was written; the opener empties its tray.
  void BatchCompleted();
  // A batch ran (to its end or until stopped): the tray keeps only these,
  // the photos that were not written, in order.
  void TrayLeft(const QStringList& remaining);
  // The batch ended, successfully or not (for the tests and the benchmark).
  void BatchEnded(bool success);
  // The estimate under the preset list was shown (for the tests).
  void EstimateShown();

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
  void BuildPresetControls();
  void BuildOptionControls();
  void FillPresetList(const QStringList& ticked);
  bool CustomTicked() const;
  // Why "Optimalizovat" cannot start (its tool tip), empty when it can.
  QString StartBlocker() const;
  // The ticked presets in list order ("Vlastní" from the dialog's fields).
  std::vector<lumatrim::OptimizePreset> TickedPresetList() const;
  // Why two ticked presets cannot run together (one subfolder), or empty.
  QString SubfolderClashText() const;
  lumatrim::OptimizeSettings CustomSettings() const;
  lumatrim::OptimizeSettings SharedSettings() const;
  bool PrepareTarget();
  bool AskAboutExistingOutputs(std::vector<lumatrim::OptimizeSettings>& runs);
  void EstimateLater();
  void StartEstimate();
  void ShowEstimate(quint64 before, quint64 after);
  void OpenTargetFolder(const QString& folder);
  std::array<SizeChoice, 4> SizeChoices() const;
  void HideCloseButton();
  void SetSizeMode(bool widthEditable, bool lengthEditable);
  void UpdateStartButton();
  void SetRunning(bool running);
  void OnPhotoDone(int done);
  void OnBatchFinished(bool started, const lumatrim::BatchReport& report, const QString& message);
  void Restore(const OptimizeMemory& memory);
  void BuildQualityRow();
  // The settings' quality mode and target; false after telling the user what to correct.
  bool ReadQuality(lumatrim::OptimizeSettings& settings);
  // The same without a word: false when the typed target cannot be read.
  // The edit whose text the batch could not read, or null when all were read.
  QLineEdit* QualityFromRow(lumatrim::OptimizeSettings& settings) const;
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
  QComboBox* qualityModeCombo_ = nullptr;
  QLineEdit* qualityTargetEdit_ = nullptr;  // the score or the size limit
  QLabel* qualityHintLabel_ = nullptr;
  QLineEdit* autoCeilingEdit_ = nullptr;  // automatic quality's size ceiling; empty: none
  QString autoQualityScore_;  // the two targets as typed, kept while the other mode shows
  QString maxFileSize_;
  int shownQualityMode_ = 0;
  QCheckBox* convertColoursCheck_ = nullptr;  // "Převést barvy do sRGB"; off keeps each photo's profile
  QFrame* notePanel_ = nullptr;
  QLabel* noteLabel_ = nullptr;
  QGroupBox* presetGroup_ = nullptr;
  QListWidget* presetList_ = nullptr;
  QPushButton* savePresetButton_ = nullptr;
  QPushButton* deletePresetButton_ = nullptr;
  QLabel* estimateLabel_ = nullptr;
  QWidget* customPage_ = nullptr;
  QCheckBox* enlargeCheck_ = nullptr;
  QCheckBox* keepIfSmallerCheck_ = nullptr;
  QLabel* namePatternLabel_ = nullptr;
  QLineEdit* namePatternEdit_ = nullptr;
  QLabel* namePreviewLabel_ = nullptr;
  QTimer* estimateTimer_ = nullptr;

  std::vector<lumatrim::OptimizePreset> presets_;  // the list's rows but "Vlastní", by name
  QStringList sources_;
  QStringList subfolders_;
  double shortSide_ = 0;
  double longSide_ = 0;
  bool running_ = false;
  bool leaving_ = false;  // set by the two legitimate ways out
  std::unique_ptr<BatchRunner> runner_;
  std::unique_ptr<SizeEstimator> estimator_;
};
