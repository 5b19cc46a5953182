// Browsing, the tray and the window's small commands.
#include <QApplication>
#include <QDrag>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QFileSystemModel>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QFrame>
#include <QTreeView>

#include "ui/iptcfill/IptcFillDialog.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/optimize/OptimizeDialog.h"
#include "ui/mainwindow/PhotoFileList.h"
#include "ui/mainwindow/TrayList.h"
#include "ui/mainwindow/TrayFolderScan.h"
#include "core/optimize/PhotoFolderScan.h"
#include "ui/prompts/AppTitle.h"
#include "ui/prompts/Prompts.h"

namespace {

const char* const kHintFileList = "Dvojklikem nebo přetažením myší přidáte vybrané fotografie do zásobníku";
const char* const kHintTray = "Pravým tlačítkem myši odstraníte fotografie ze zásobníku";
const char* const kQuitQuestion = "V zásobníku jsou fotografie, které ještě nebyly optimalizovány. Opravdu chcete aplikaci ukončit?";
constexpr const char* kIncludeSubfoldersKey = "tray/includeSubfolders";
const char* const kAuthorLine = "Korvel Lumatrim 1.5\nPříprava fotografií ke sdílení.\nAutoři: vývojový tým Lumatrim";

}  // namespace

QStringList MainWindow::TrayPaths() const {
  QStringList paths;
  for (int row = 0; row < trayList_->count(); ++row) paths << trayList_->item(row)->text();
  return paths;
}

QStringList MainWindow::TraySubfolders() const {
  QStringList subfolders;
  for (int row = 0; row < trayList_->count(); ++row) subfolders << trayList_->item(row)->data(Qt::UserRole).toString();
  return subfolders;
}

bool MainWindow::IncludeSubfolders() const { return includeSubfoldersAction_->isChecked(); }

void MainWindow::SetIncludeSubfolders(bool include) {
  includeSubfoldersAction_->setChecked(include);
  QSettings().setValue(QLatin1String(kIncludeSubfoldersKey), include);
}

void MainWindow::AddFolderChosen() {
  const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Přidat složku"), shownFolder_);
  if (!folder.isEmpty()) AddFoldersToTray({folder});
}

void MainWindow::AddFoldersToTray(const QStringList& folders) {
  if (!folderScan_) {
    folderScan_ = std::make_unique<TrayFolderScan>();
    connect(folderScan_.get(), &TrayFolderScan::Counted, this,
            [this](int found) { SetHint(QStringLiteral("Hledám fotografie… nalezeno %1").arg(found)); });
    connect(folderScan_.get(), &TrayFolderScan::Found, this, &MainWindow::FolderPhotosFound);
    connect(folderScan_.get(), &TrayFolderScan::Finished, this, [this] {
      SetHint(QStringLiteral("Do zásobníku přidáno fotografií: %1").arg(addedFromFolders_));
      addedFromFolders_ = 0;
    });
  }
  SetHint(QStringLiteral("Hledám fotografie…"));
  folderScan_->Add(folders, IncludeSubfolders());
}

void MainWindow::FolderPhotosFound(const QStringList& paths, const QStringList& subfolders) {
  const bool keepTree = IncludeSubfolders();
  for (qsizetype i = 0; i < paths.size(); ++i) AddToTray(paths[i], keepTree ? subfolders.value(i) : QString());
  addedFromFolders_ += static_cast<int>(paths.size());
}

void MainWindow::PathsDroppedOnTray(const QStringList& paths) {
  QStringList folders;
  for (const QString& path : paths) {
    const QFileInfo info(path);
    if (info.isDir()) {
      folders << info.absoluteFilePath();
    } else if (info.isFile() && lumatrim::IsPhotoFileName(info.fileName().toStdString())) {
      AddToTray(info.absoluteFilePath());
    }
  }
  if (!folders.isEmpty()) AddFoldersToTray(folders);
}

void MainWindow::EmptyTrayAfterBatch() {
  trayList_->clear();
  continueButton_->setEnabled(false);
}

QString MainWindow::SelectedFile() const { return fileList_->SelectedPath(); }

QStringList MainWindow::SelectedFiles() const { return fileList_->SelectedPaths(); }

void MainWindow::ShowFolder(const QString& path) {
  if (path.isEmpty()) return;
  shownFolder_ = path;
  // A new folder is listed without selecting anything: the photo shown stays.
  QSignalBlocker quiet(fileList_);
  fileList_->ShowFolder(path);
  WatchFolder(path);
  UpdateMoveAllCaption();
}

void MainWindow::RevealWorkingFolder() {
  // Nothing is selected, but the tree opens down to the folder the list
  // shows, so the user sees where it is.
  QModelIndex target = folderModel_->index(shownFolder_);
  if (!target.isValid()) return;
  for (QModelIndex up = target.parent(); up.isValid(); up = up.parent()) folderTree_->expand(up);
  folderTree_->selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
  revealing_ = true;
  if (!revealHooked_) {
    revealHooked_ = true;
    // The model lists and sorts folders in the background, moving rows after
    // every load; keep the folder in view until the user takes over the tree.
    auto scroll = [this] {
      if (revealing_) folderTree_->scrollTo(folderModel_->index(shownFolder_), QAbstractItemView::PositionAtCenter);
    };
    connect(folderModel_, &QFileSystemModel::directoryLoaded, this, scroll);
    connect(folderModel_, &QAbstractItemModel::layoutChanged, this, scroll);
    connect(folderModel_, &QAbstractItemModel::rowsInserted, this, scroll);
    QTimer::singleShot(0, this, scroll);
  }
  QTimer::singleShot(3000, this, [this] { revealing_ = false; });
}

void MainWindow::OpenPhotos(const QStringList& paths) {
  QStringList photos;
  for (const QString& path : paths) {
    const QFileInfo info(path);
    if (info.isFile()) photos << info.absoluteFilePath();
  }
  if (photos.isEmpty()) return;
  ShowFolder(QFileInfo(photos.first()).absolutePath());
  RevealWorkingFolder();
  for (const QString& photo : photos) AddToTray(photo);
  // The first photo is the selected one: its preview and summary show.
  for (int row = 0; row < fileList_->count(); ++row) {
    if (fileList_->PathAt(row) == photos.first()) {
      fileList_->setCurrentRow(row);
      break;
    }
  }
}

void MainWindow::FolderTreeMoved() { ShowFolder(folderModel_->filePath(folderTree_->currentIndex())); }

void MainWindow::FolderTreeClicked() { ResetSelectionDisplay(); }

void MainWindow::AddToTray(const QString& path, const QString& subfolder) {
  auto* entry = new QListWidgetItem(path, trayList_);
  entry->setToolTip(path);
  entry->setData(Qt::UserRole, subfolder);
  continueButton_->setEnabled(true);
}

void MainWindow::FileDoubleClicked() { AddSelectedToTray(); }

void MainWindow::AddSelectedToTray() {
  for (const QString& path : SelectedFiles()) AddToTray(path);
}

void MainWindow::FileDragStarted() {
  const QStringList paths = SelectedFiles();
  if (paths.isEmpty()) return;
  draggedPaths_ = paths;
  QPointer<QDrag> drag = new QDrag(fileList_);
  auto* data = new QMimeData;
  data->setText(paths.join(QLatin1Char('\n')));
  drag->setMimeData(data);
  if (dragExecutor_)
    dragExecutor_(drag);
  else
    drag->exec(Qt::CopyAction);
  if (drag) drag->deleteLater();
}

void MainWindow::FileDroppedOnTray() {
  for (const QString& path : draggedPaths_) AddToTray(path);
}

// With several photos picked, ">>" adds those; otherwise the whole folder.
void MainWindow::UpdateMoveAllCaption() {
  moveAllButton_->setText(SelectedFiles().size() > 1 ? QStringLiteral(">>  Přidat vybrané  >>")
                                                     : QStringLiteral(">>   Přidat vše   >>"));
}

void MainWindow::MoveAllClicked() {
  if (fileList_->count() == 0) return;
  if (SelectedFiles().size() > 1) return AddSelectedToTray();
  // Each file is selected in turn, as if picked, but the preview is not
  // reloaded: it keeps showing the photo it showed before.
  {
    QSignalBlocker quiet(fileList_);
    for (int row = 0; row < fileList_->count(); ++row) {
      fileList_->setCurrentRow(row);
      auto* entry = new QListWidgetItem(fileList_->PathAt(row), trayList_);
      entry->setToolTip(entry->text());
    }
  }
  continueButton_->setEnabled(true);
}

void MainWindow::RemoveFromTrayChosen() {
  qDeleteAll(trayList_->selectedItems());
  if (trayList_->count() == 0) continueButton_->setEnabled(false);
}

void MainWindow::ClearTrayChosen() {
  if (trayList_->count() == 0) return;
  trayList_->clear();
  continueButton_->setEnabled(false);
}

void MainWindow::FillTrayIptcChosen() {
  if (trayList_->count() == 0) return;
  IptcFillDialog dialog(TrayPaths(), this);
  dialog.exec();
}

void MainWindow::ContinueClicked() { OpenOptimisationDialog(); }

void MainWindow::DetailsClicked() { OpenDetailWindow(); }

void MainWindow::InfoIconClicked() {
  if (messageSink_) return messageSink_(QString::fromUtf8(kAuthorLine));
  Prompts::Message(this, QString::fromUtf8(kAuthorLine));
}

void MainWindow::CloseClicked() { close(); }

void MainWindow::ShowMessage(const QString& text) {
  if (messageSink_) return messageSink_(text);
  Prompts::Error(this, text);  // wrapped, never wider than a small screen
}

void MainWindow::SetHint(const QString& text) { hintLabel_->setText(text); }

bool MainWindow::ConfirmQuitWithTray() {
  if (trayList_->count() == 0) return true;
  return Prompts::Question(this, QString::fromUtf8(kQuitQuestion));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A batch still running is stopped first, as "Přerušit" stops it; with
  // none, photos waiting in the tray would be lost with the window: asked first.
  bool batchRunning = false;
  for (OptimizeDialog* dialog : findChildren<OptimizeDialog*>()) batchRunning |= dialog->BatchRunning();
  if (!batchRunning && !ConfirmQuitWithTray()) return event->ignore();
  for (OptimizeDialog* dialog : findChildren<OptimizeDialog*>()) {
    if (dialog->BatchRunning()) dialog->CancelAndLeave();
  }
  SaveWindowPlace();
  QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!centred_ && screen()) {
    centred_ = true;
    QRect area = screen()->availableGeometry();
    move(area.center() - rect().center());
  }
  folderTree_->setFocus();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == previewPanel_ && type == QEvent::Resize) {
    refitTimer_->start();
    previewProblemLabel_->setGeometry(previewPanel_->rect());
  }
  if (watched == folderTree_->viewport() && (type == QEvent::MouseButtonPress || type == QEvent::Wheel)) {
    revealing_ = false;
  } else if (watched == folderTree_ && type == QEvent::KeyPress) {
    revealing_ = false;
  }
  if (watched == folderTree_->viewport() && type == QEvent::MouseButtonRelease) {
    FolderTreeClicked();
  } else if (watched == fileList_->viewport() && type == QEvent::MouseButtonPress) {
    selectionHandled_ = false;
  } else if (watched == fileList_ && type == QEvent::FocusIn) {
    if (fileList_->count() > 0) SetHint(QString::fromUtf8(kHintFileList));
  } else if (watched == trayList_ && type == QEvent::FocusIn) {
    if (trayList_->count() > 0) SetHint(QString::fromUtf8(kHintTray));
  } else if ((watched == fileList_ || watched == trayList_) && type == QEvent::FocusOut) {
    SetHint(QString());
  } else if ((watched == exitIcon_ || watched == infoIcon_) && type == QEvent::MouseButtonRelease &&
             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == exitIcon_)
      CloseClicked();
    else
      InfoIconClicked();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}
