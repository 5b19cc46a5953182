#pragma once
#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

// "Zvolit cíl...": picks (or first creates) the folder the optimised photos go to.
// "OK" writes the selected folder into the target edit it was given.
class TargetFolderDialog : public QDialog {
  Q_OBJECT

 public:
  TargetFolderDialog(QLineEdit* targetEdit, QWidget* parent);

  // Full path of the folder selected in the tree; empty when none is.
  QString SelectedFolder() const;
  // Makes a folder the selected one (as a click would) and shows it.
  void SelectFolder(const QString& path);
  QFileSystemModel* Model() const { return folderModel_; }

  void OkClicked();
  void CloseClicked();
  void NewFolderClicked();

 private:
  void RevealFolder(const QString& path);

  QTreeView* folderTree_ = nullptr;
  QPushButton* newFolderButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QLineEdit* targetEdit_ = nullptr;
  QFileSystemModel* folderModel_ = nullptr;
};
