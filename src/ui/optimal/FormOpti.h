#pragma once
#include <QDialog>
#include <QStringList>
#include <memory>

#include "ui/optimal/OptiBatchRunner.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QFrame;

// "Optimalizace": target folder, compression and requested size for the tray's
// photos, and the batch itself. The dialog can be left only through "< Zpět" or
// the end of a successful batch.
class TFormOpti : public QDialog {
  Q_OBJECT

 public:
  // batch: what "Optimalizovat" runs (the core engine; tests may pass their own).
  explicit TFormOpti(QWidget* parent = nullptr, OptiBatchFunction batch = RunEngineBatch);
  ~TFormOpti() override;

  // Handlers, one per user event.
  void FormShow();
  void ButCilClick();
  void TrackChange();
  void RadSirkaClick();
  void RadDelkaClick();
  void RadVlastClick();
  void RadPuvodClick();
  void EditSirChange();
  void EditDelChange();
  void ButProcesClick();
  void ButZavClick();

  bool BatchRunning() const { return running_; }

  QGroupBox* GroupUloz;
  QPushButton* ButCil;
  QLineEdit* EditCil;
  QGroupBox* GroupKom;
  QSlider* Track;
  QLabel* Label3;
  QLabel* Label2;
  QLabel* LabTrack;
  QGroupBox* GroupVel;
  QRadioButton* RadSirka;
  QRadioButton* RadDelka;
  QRadioButton* RadVlast;
  QRadioButton* RadPuvod;
  QLabel* Label4;
  QLineEdit* EditSir;
  QLabel* Label5;
  QLineEdit* EditDel;
  QPushButton* ButProces;
  QPushButton* ButZav;
  QProgressBar* Gauge;
  QFrame* Panel3;
  QLabel* Label8;
  QListWidget* ListZdroj;

 signals:
  // Every photo of the tray was written; the opener empties its tray.
  void BatchCompleted();
  // The batch ended, successfully or not (for the tests and the benchmark).
  void BatchEnded(bool success);

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void SetMode(bool sir, bool del, bool procesEnabled);
  void UpdateProcesState();
  void SetRunning(bool running);
  void OnPhotoDone(int done);
  void OnBatchFinished(bool success, const QString& message);

  double ShortSide = 0;
  double LongSide = 0;
  bool running_ = false;
  bool leaving_ = false;  // set by the two legitimate ways out
  std::unique_ptr<OptiBatchRunner> runner_;
};
