// Browsing, the tray and the window's small commands.
#include <QApplication>
#include <QDrag>
#include <QFileSystemModel>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

#include "ui/main/AppTitle.h"
#include "ui/main/FileListBox.h"
#include "ui/main/FormDefault.h"
#include "ui/main/TrayListBox.h"

namespace {

const char* const kHintFileList = "Dvojklikem nebo přetažením myší přesuneš soubor do zásobníku";
const char* const kHintTray = "Pravým tlačítkem myši odstraníš soubor/y";
const char* const kAuthorLine = "Korvel Lumatrim 1.5\nPříprava fotografií ke sdílení.\nAutoři: vývojový tým Lumatrim";

}  // namespace

QStringList TFormDefault::TrayPaths() const {
  QStringList paths;
  for (int row = 0; row < ListTarget->count(); ++row) paths << ListTarget->item(row)->text();
  return paths;
}

void TFormDefault::EmptyTrayAfterBatch() {
  ListTarget->clear();
  ButPokrac->setEnabled(false);
}

QString TFormDefault::SelectedFile() const { return ListFile->SelectedPath(); }

void TFormDefault::ShowFolder(const QString& path) {
  if (path.isEmpty()) return;
  folder_ = path;
  // A new folder is listed without selecting anything: the photo shown stays.
  QSignalBlocker quiet(ListFile);
  ListFile->ShowFolder(path);
}

void TFormDefault::RevealWorkingFolder() {
  // Nothing is selected, but the tree opens down to the folder the list
  // shows, so the user sees where it is.
  const QString working = folder_;
  QModelIndex target = treeModel_->index(working);
  if (!target.isValid()) return;
  for (QModelIndex up = target.parent(); up.isValid(); up = up.parent()) TreeFiles->expand(up);
  TreeFiles->selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
  // The model lists and sorts folders in the background, moving rows after
  // every load; keep the folder in view until the user takes over the tree.
  auto scroll = [this, working] {
    if (revealing_) TreeFiles->scrollTo(treeModel_->index(working), QAbstractItemView::PositionAtCenter);
  };
  connect(treeModel_, &QFileSystemModel::directoryLoaded, this, scroll);
  connect(treeModel_, &QAbstractItemModel::layoutChanged, this, scroll);
  connect(treeModel_, &QAbstractItemModel::rowsInserted, this, scroll);
  QTimer::singleShot(0, this, scroll);
  QTimer::singleShot(3000, this, [this] { revealing_ = false; });
}

void TFormDefault::TreeFilesChange() { ShowFolder(treeModel_->filePath(TreeFiles->currentIndex())); }

void TFormDefault::TreeFilesClick() { ResetSelectionDisplay(); }

void TFormDefault::AddToTray(const QString& path) {
  auto* entry = new QListWidgetItem(path, ListTarget);
  entry->setToolTip(path);
  ButPokrac->setEnabled(true);
}

void TFormDefault::ListFileDblClick() {
  if (ListFile->count() == 0) return;
  QString path = SelectedFile();
  if (path.isEmpty()) return;
  AddToTray(path);
}

void TFormDefault::ListFileMouseMove() {
  QString path = SelectedFile();
  if (path.isEmpty()) return;
  DropS = path;
  QPointer<QDrag> drag = new QDrag(ListFile);
  auto* data = new QMimeData;
  data->setText(path);
  drag->setMimeData(data);
  if (dragExecutor_)
    dragExecutor_(drag);
  else
    drag->exec(Qt::CopyAction);
  if (drag) drag->deleteLater();
}

void TFormDefault::DropTDrop() { AddToTray(DropS); }

void TFormDefault::ButPresunClick() {
  if (ListFile->count() == 0) return;
  // Each file is selected in turn, as if picked, but the preview is not
  // reloaded: it keeps showing the photo it showed before.
  {
    QSignalBlocker quiet(ListFile);
    for (int row = 0; row < ListFile->count(); ++row) {
      ListFile->setCurrentRow(row);
      auto* entry = new QListWidgetItem(ListFile->PathAt(row), ListTarget);
      entry->setToolTip(entry->text());
    }
  }
  ButPokrac->setEnabled(true);
}

void TFormDefault::Odstranit1Click() {
  if (ListTarget->count() > 0) {
    QList<QListWidgetItem*> selected = ListTarget->selectedItems();
    if (!selected.isEmpty()) delete selected.first();
  }
  if (ListTarget->count() == 0) ButPokrac->setEnabled(false);
}

void TFormDefault::Odstranitve1Click() {
  if (ListTarget->count() == 0) return;
  ListTarget->clear();
  ButPokrac->setEnabled(false);
}

void TFormDefault::ButPokracClick() { OpenOptimisationDialog(); }

void TFormDefault::ButExifClick() { OpenDetailWindow(); }

void TFormDefault::ImgInfoClick() {
  if (messageSink_) return messageSink_(QString::fromUtf8(kAuthorLine));
  QMessageBox::information(this, QString::fromUtf8(kAppTitle), QString::fromUtf8(kAuthorLine));
}

void TFormDefault::ButZavClick() { close(); }

void TFormDefault::ShowMessage(const QString& text) {
  if (messageSink_) return messageSink_(text);
  QMessageBox::warning(this, QString::fromUtf8(kAppTitle), text);
}

void TFormDefault::SetHint(const QString& text) { statusHint_->setText(text); }

void TFormDefault::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!centred_ && screen()) {
    centred_ = true;
    QRect area = screen()->availableGeometry();
    move(area.center() - rect().center());
  }
  TreeFiles->setFocus();
}

bool TFormDefault::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == TreeFiles->viewport() && (type == QEvent::MouseButtonPress || type == QEvent::Wheel)) {
    revealing_ = false;
  } else if (watched == TreeFiles && type == QEvent::KeyPress) {
    revealing_ = false;
  }
  if (watched == TreeFiles->viewport() && type == QEvent::MouseButtonRelease) {
    TreeFilesClick();
  } else if (watched == ListFile->viewport() && type == QEvent::MouseButtonPress) {
    selectionHandled_ = false;
  } else if (watched == ListFile && type == QEvent::FocusIn) {
    if (ListFile->count() > 0) SetHint(QString::fromUtf8(kHintFileList));
  } else if (watched == ListTarget && type == QEvent::FocusIn) {
    if (ListTarget->count() > 0) SetHint(QString::fromUtf8(kHintTray));
  } else if ((watched == ListFile || watched == ListTarget) && type == QEvent::FocusOut) {
    SetHint(QString());
  } else if ((watched == ImgExit || watched == ImgInfo) && type == QEvent::MouseButtonRelease &&
             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == ImgExit)
      ButZavClick();
    else
      ImgInfoClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}
