#pragma once
#include <QDialog>
#include <QSize>

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

// "Zvolit cíl...": picks (or first creates) the folder the optimised photos go to.
// "OK" writes the selected folder into the target edit it was given. It opens
// at that edit's folder (or home), and a path field with completion takes a
// folder typed or pasted.
class TargetFolderDialog : public QDialog {
  Q_OBJECT

 public:
  TargetFolderDialog(QLineEdit* targetEdit, QWidget* parent);

  // Full path of the folder selected in the tree; empty when none is.
  QString SelectedFolder() const;
  // Makes a folder the selected one (as a click would) and shows it.
  void SelectFolder(const QString& path);
  QFileSystemModel* Model() const { return folderModel_; }

  static constexpr QSize kDesignedSize{480, 400};  // also the smallest

  void OkClicked();
  void CloseClicked();
  void NewFolderClicked();

 private:
  void RevealFolder(const QString& path);
  void PathTyped();

  QTreeView* folderTree_ = nullptr;
  QPushButton* newFolderButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QLineEdit* targetEdit_ = nullptr;
  QLineEdit* pathEdit_ = nullptr;
  bool typing_ = false;
  bool revealing_ = true;  // the tree follows the path field, not the reverse
  QFileSystemModel* folderModel_ = nullptr;
};
