#pragma once
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QDrag;
class QFileSystemWatcher;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTimer;
class QToolButton;
class QTreeView;
class QFileSystemModel;
class PhotoFileList;
class JpegRotator;
class PhotoPreview;
class TrayList;
class TrayFolderScan;
class QAction;

namespace lumatrim {
enum class FailureKind;
}

// The main window: folder tree and file list on the left, the selected
// photo's preview and EXIF summary in the middle, the tray of photos to be
// optimised on the right.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // --- What the dialogs use -------------------------------------------------
  // The tray's entries, in order (what "Pokračovat >" hands over).
  QStringList TrayPaths() const;
  // Per tray entry, the folder under the target its output goes to: where
  // it lay below a folder added whole with its subfolders, else "".
  QStringList TraySubfolders() const;
  // "Přidat složku…" and folders dropped on the tray: every photo inside
  // (with subfolders when "Včetně podsložek" is ticked) joins the tray; the
  // search runs off the window's thread, its count in the status bar.
  void AddFoldersToTray(const QStringList& folders);
  bool IncludeSubfolders() const;
  void SetIncludeSubfolders(bool include);
  // After a finished batch: the tray is emptied and "Pokračovat >" disabled.
  void EmptyTrayAfterBatch();
  // After a batch that left photos unwritten: the tray holds just those.
  void KeepInTray(const QStringList& paths);
  // Full path of the file selected in the file list; empty when none is.
  QString SelectedFile() const;
  // Every selected file, in the list's order.
  QStringList SelectedFiles() const;

  // --- Browsing (also used by tests and at start) ---------------------------
  // Points the file list at a folder (an empty path keeps the current one).
  void ShowFolder(const QString& path);
  QString ShownFolder() const { return shownFolder_; }
  // Photos named on the command line: the list opens in the first one's
  // folder with it selected, and all of them go into the tray.
  void OpenPhotos(const QStringList& paths);
  // Photos handed over by a second start of the program: they join the tray
  // and the window comes to the front.
  void ReceivePhotos(const QStringList& paths);
  // Why the selected photo cannot be shown, as the preview area says it;
  // empty while a photo shows.
  QString PreviewProblem() const;

  // What a turn that trims edge pixels answers: go on, stop, or go on and
  // never ask again.
  enum class TrimAnswer { Yes, No, Always };
  // The question goes through this (tests answer it).
  void SetTrimAsker(std::function<TrimAnswer(const QString&)> asker) { trimAsker_ = std::move(asker); }
  // Pixels a turn of path would trim at its edges (width, height); a photo
  // that cannot be read trims nothing, its turn reports the fault.
  static QSize RotationTrim(const QString& path, bool left);
  static constexpr const char* kTrimAlwaysKey = "rotation/trimWithoutAsking";
  static constexpr const char* kThumbnailViewKey = "mainWindow/thumbnailView";

  // Display name and value of each tag, in reading order.
  using TagList = std::vector<std::pair<QString, QString>>;
  // The summary value of a display name: the value of the first tag whose
  // display name matches without regard to case, or "---".
  static QString SummaryValueIn(const TagList& tags, const QString& name);
  // The same over the selected photo's EXIF and maker tags.
  QString SummaryValue(const QString& name) const { return SummaryValueIn(exifTags_, name); }

  // The drag of FileDragStarted runs through this (tests replace it, since
  // a real drag is a modal loop waiting for the mouse).
  void SetDragExecutor(std::function<void(QDrag*)> executor) { dragExecutor_ = std::move(executor); }
  // Message boxes go through this; tests capture them.
  void SetMessageSink(std::function<void(const QString&)> sink) { messageSink_ = std::move(sink); }

  PhotoPreview* Preview() const { return preview_; }
  // The preview's box (it grows with the window).
  QSize PreviewBox() const;

  // Settings key of the window's size and place.
  static constexpr const char* kGeometryKey = "mainWindow/geometry";

 public slots:
  // Selection handling: preview, sizes, summary. Runs on every selection in
  // the file list, after a rotation and after the detail window changed the file.
  void ShowSelectedPhoto();
  // The tree's current folder changed: the file list follows it.
  void FolderTreeMoved();
  void FolderTreeClicked();
  void FileDoubleClicked();
  void FileDragStarted();
  void FileDroppedOnTray();
  void PathsDroppedOnTray(const QStringList& paths);
  void AddFolderChosen();
  void MoveAllClicked();
  void RemoveFromTrayChosen();
  void ClearTrayChosen();
  void FillTrayIptcChosen();  // "Doplnit IPTC…"
  void ContinueClicked();
  void InfoIconClicked();
  void CloseClicked();
  void RotateLeftClicked();
  void RotateRightClicked();
  void DetailsClicked();
  void ThumbnailViewToggled(bool on);

 protected:
  void showEvent(QShowEvent* event) override;
  // A batch still running is stopped first, as "Přerušit" stops it.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  // Hook points of the dialogs (MainWindowDialogs.cpp).
  void OpenOptimisationDialog();
  void OpenDetailWindow();
  // The worker has decoded the selected photo, or failed to.
  void PreviewShown();
  void PreviewFailed(lumatrim::FailureKind kind, const QString& detail);
  // The shown folder changed on disk: listed again shortly after.
  void FolderChangedOnDisk();
  void RefreshFolder();

 private:
  void BuildLayout();
  void BuildBrowser(QGroupBox* group);
  void BuildPreview();
  void BuildSummary();
  void BuildTray();
  void BuildBottom();
  void RevealWorkingFolder();
  void BuildShortcuts();
  void AddSelectedToTray();
  void UpdateMoveAllCaption();
  void WatchFolder(const QString& path);
  // The reason a photo cannot be shown, inside the preview area, no box.
  void ShowPreviewProblem(const QString& text);
  bool ConfirmTrim(const QStringList& paths, bool left);
  bool ConfirmQuitWithTray();
  void AddToTray(const QString& path, const QString& subfolder = QString());
  void FolderPhotosFound(const QStringList& paths, const QStringList& subfolders);
  void ResetSelectionDisplay();
  void ClearSummaryValues();
  void Rotate(bool left);
  void ShowMessage(const QString& text);
  void SetHint(const QString& text);
  void RestoreWindowPlace();
  void SaveWindowPlace() const;

  std::unique_ptr<JpegRotator> rotator_;
  PhotoPreview* preview_ = nullptr;

  QFileSystemModel* folderModel_ = nullptr;
  QTreeView* folderTree_ = nullptr;
  PhotoFileList* fileList_ = nullptr;
  TrayList* trayList_ = nullptr;
  QFrame* previewPanel_ = nullptr;
  QLabel* dimensionsLabel_ = nullptr;
  QLabel* scaleLabel_ = nullptr;
  QLabel* fileSizeLabel_ = nullptr;
  QPushButton* cropButton_ = nullptr;
  QLabel* cropLabel_ = nullptr;
  QPushButton* rotateLeftButton_ = nullptr;
  QPushButton* rotateRightButton_ = nullptr;
  QTableWidget* summaryGrid_ = nullptr;
  QPushButton* detailsButton_ = nullptr;
  QPushButton* moveAllButton_ = nullptr;
  QToolButton* thumbnailViewButton_ = nullptr;
  QLabel* previewProblemLabel_ = nullptr;
  QFileSystemWatcher* folderWatcher_ = nullptr;
  QTimer* folderRefreshTimer_ = nullptr;
  QPushButton* continueButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QLabel* exitIcon_ = nullptr;
  QLabel* infoIcon_ = nullptr;
  QLabel* hintLabel_ = nullptr;
  QLabel* versionLabel_ = nullptr;

  // Display name and value of every EXIF and maker tag of the selected photo,
  // in reading order: what the summary rows are looked up in.
  TagList exifTags_;
  QString shownFolder_;
  QStringList draggedPaths_;  // paths stored when the last drag from the file list began
  bool selectionHandled_ = false;
  bool centred_ = false;  // set once placed: centred on the screen, or restored
  QTimer* refitTimer_ = nullptr;
  bool revealing_ = true;  // keeps the working folder in view at start
  bool revealHooked_ = false;
  std::function<void(QDrag*)> dragExecutor_;
  std::function<void(const QString&)> messageSink_;
  std::function<TrimAnswer(const QString&)> trimAsker_;
  std::unique_ptr<TrayFolderScan> folderScan_;
  QAction* includeSubfoldersAction_ = nullptr;
  int addedFromFolders_ = 0;
};
