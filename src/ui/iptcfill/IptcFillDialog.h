#pragma once
#include <QDialog>
#include <QStringList>
#include <vector>

#include "core/photo/IptcFill.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// "Doplnit IPTC…": fills the items the user gives (author, copyright, place,
// keywords to add, …) into every photo of the tray in one step. Each photo is
// written atomically; one that fails (read-only, not a JPEG) is named in the
// Czech summary and the others are written all the same.
class IptcFillDialog : public QDialog {
  Q_OBJECT

 public:
  IptcFillDialog(const QStringList& paths, QWidget* parent = nullptr);

  // The items filled in, as they will be written (empty fields left out).
  std::vector<lumatrim::IptcFillItem> ChosenItems() const;
  // Writes them into every photo, moving the progress bar, then shows the summary.
  void FillClicked();

  QLineEdit* Field(const char* name) const;
  QProgressBar* Progress() const { return progress_; }
  QPushButton* FillButton() const { return fillButton_; }
  QLabel* Note() const { return note_; }

 private:
  void UpdateNote();

  QStringList paths_;
  std::vector<std::pair<const char*, QLineEdit*>> fields_;  // key name, its field
  QLabel* note_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* fillButton_ = nullptr;
};
