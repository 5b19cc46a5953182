#pragma once
#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

// "Zvolit cíl...": picks (or first creates) the folder the optimised photos go to.
// "OK" writes the selected folder into the target edit it was given.
class TFormCil : public QDialog {
  Q_OBJECT

 public:
  TFormCil(QLineEdit* editCil, QWidget* parent);

  // Full path of the folder selected in the tree; empty when none is.
  QString SelectedFolder() const;
  // Makes a folder the selected one (as a click would) and shows it.
  void SelectFolder(const QString& path);
  QFileSystemModel* Model() const { return model_; }

  void ButOKClick();
  void ButZavClick();
  void ButSlozkaClick();

  QTreeView* TreeCil;
  QPushButton* ButSlozka;
  QPushButton* ButZav;
  QPushButton* ButOK;

 private:
  void RevealFolder(const QString& path);

  QLineEdit* editCil_;
  QFileSystemModel* model_;
};
