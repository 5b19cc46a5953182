// Browsing, the tray and the window's small commands.
#include <QApplication>
#include <QDrag>
#include <QFileInfo>
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
#include "ui/prompts/AppTitle.h"
#include "ui/prompts/Prompts.h"

namespace {

const char* const kHintFileList = "Dvojklikem nebo přetažením myší přesuneš soubor do zásobníku";
const char* const kHintTray = "Pravým tlačítkem myši odstraníš soubor/y";
const char* const kAuthorLine = "Korvel Lumatrim 1.5\nPříprava fotografií ke sdílení.\nAutoři: vývojový tým Lumatrim";

}  // namespace

QStringList MainWindow::TrayPaths() const {
  QStringList paths;
  for (int row = 0; row < trayList_->count(); ++row) paths << trayList_->item(row)->text();
  return paths;
}

void MainWindow::EmptyTrayAfterBatch() {
  trayList_->clear();
  continueButton_->setEnabled(false);
}

QString MainWindow::SelectedFile() const { return fileList_->SelectedPath(); }

void MainWindow::ShowFolder(const QString& path) {
  if (path.isEmpty()) return;
  shownFolder_ = path;
  // A new folder is listed without selecting anything: the photo shown stays.
  QSignalBlocker quiet(fileList_);
  fileList_->ShowFolder(path);
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

void MainWindow::AddToTray(const QString& path) {
  auto* entry = new QListWidgetItem(path, trayList_);
  entry->setToolTip(path);
  continueButton_->setEnabled(true);
}

void MainWindow::FileDoubleClicked() {
  if (fileList_->count() == 0) return;
  QString path = SelectedFile();
  if (path.isEmpty()) return;
  AddToTray(path);
}

void MainWindow::FileDragStarted() {
  QString path = SelectedFile();
  if (path.isEmpty()) return;
  draggedPath_ = path;
  QPointer<QDrag> drag = new QDrag(fileList_);
  auto* data = new QMimeData;
  data->setText(path);
  drag->setMimeData(data);
  if (dragExecutor_)
    dragExecutor_(drag);
  else
    drag->exec(Qt::CopyAction);
  if (drag) drag->deleteLater();
}

void MainWindow::FileDroppedOnTray() { AddToTray(draggedPath_); }

void MainWindow::MoveAllClicked() {
  if (fileList_->count() == 0) return;
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

void MainWindow::closeEvent(QCloseEvent* event) {
  // A batch still running is stopped first, as "Přerušit" stops it.
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
  if (watched == previewPanel_ && type == QEvent::Resize) refitTimer_->start();
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
