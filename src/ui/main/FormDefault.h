#pragma once
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QDrag;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTreeView;
class QFileSystemModel;
class TFileListBox;
class JpegRotator;
class TPhotoImage;
class TTrayListBox;

namespace lumatrim {
class TimgData;
}

// The main window: folder tree and file list on the left, the selected
// photo's preview and EXIF summary in the middle, the tray of photos to be
// optimised on the right.
class TFormDefault : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFormDefault(QWidget* parent = nullptr);
  ~TFormDefault() override;

  // --- What the dialogs use -------------------------------------------------
  // The tray's entries, in order (what "Pokračovat >" hands over).
  QStringList TrayPaths() const;
  // After a finished batch: the tray is emptied and "Pokračovat >" disabled.
  void EmptyTrayAfterBatch();
  // Full path of the file selected in the file list; empty when none is.
  QString SelectedFile() const;

  // --- Browsing (also used by tests and at start) ---------------------------
  // Points the file list at a folder (an empty path keeps the current one).
  void ShowFolder(const QString& path);
  QString ShownFolder() const { return folder_; }

  // The summary value of a display name: first case-insensitive match in
  // ListP, the entry of ListH beside it, or "---".
  QString SummaryValue(const QString& name) const;

  // The drag of ListFileMouseMove runs through this (tests replace it, since
  // a real drag is a modal loop waiting for the mouse).
  void SetDragExecutor(std::function<void(QDrag*)> executor) { dragExecutor_ = std::move(executor); }
  // Message boxes go through this; tests capture them.
  void SetMessageSink(std::function<void(const QString&)> sink) { messageSink_ = std::move(sink); }

  JpegRotator* Rotator() const { return Rotator_.get(); }
  TPhotoImage* Preview() const { return Preview_; }

 public slots:
  // Selection handling: preview, sizes, summary. Runs on every selection in
  // the file list, after a rotation and after the detail window changed the file.
  void ListFileClick();
  void TreeFilesChange();
  void TreeFilesClick();
  void ListFileDblClick();
  void ListFileMouseMove();
  void DropTDrop();
  void ButPresunClick();
  void Odstranit1Click();
  void Odstranitve1Click();
  void ButPokracClick();
  void ImgInfoClick();
  void ButZavClick();
  void ButLevaClick();
  void ButPravaClick();
  void ButExifClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  // Hook points of the dialogs (FormDefaultDialogs.cpp).
  void OpenOptimisationDialog();
  void OpenDetailWindow();

 private:
  void BuildLayout();
  void BuildBrowser(QGroupBox* group);
  void BuildPreview();
  void BuildSummary();
  void BuildTray();
  void BuildBottom();
  void RevealWorkingFolder();
  void AddToTray(const QString& path);
  void ResetSelectionDisplay();
  void ClearSummaryValues();
  void FillSummary();
  void Rotate(bool left);
  void ShowMessage(const QString& text);
  void SetHint(const QString& text);

  std::unique_ptr<lumatrim::TimgData> MetaData;
  std::unique_ptr<JpegRotator> Rotator_;
  TPhotoImage* Preview_ = nullptr;

  QFileSystemModel* treeModel_ = nullptr;
  QTreeView* TreeFiles = nullptr;
  TFileListBox* ListFile = nullptr;
  TTrayListBox* ListTarget = nullptr;
  QListWidget* ListP = nullptr;
  QListWidget* ListH = nullptr;
  QFrame* ImagePanel = nullptr;
  QLabel* LabScale = nullptr;
  QLabel* LabMeritko = nullptr;
  QLabel* LabSize = nullptr;
  QPushButton* btnCrop = nullptr;
  QLabel* Label204 = nullptr;
  QPushButton* ButLeva = nullptr;
  QPushButton* ButPrava = nullptr;
  QTableWidget* GridExif = nullptr;
  QPushButton* ButExif = nullptr;
  QPushButton* ButPresun = nullptr;
  QPushButton* ButPokrac = nullptr;
  QPushButton* ButZav = nullptr;
  QLabel* ImgExit = nullptr;
  QLabel* ImgInfo = nullptr;
  QLabel* statusHint_ = nullptr;
  QLabel* statusFixed_ = nullptr;

  QString folder_;
  QString DropS;  // path stored when the last drag from ListFile began
  bool selectionHandled_ = false;
  bool centred_ = false;
  bool revealing_ = true;  // keeps the working folder in view at start
  std::function<void(QDrag*)> dragExecutor_;
  std::function<void(const QString&)> messageSink_;
};
