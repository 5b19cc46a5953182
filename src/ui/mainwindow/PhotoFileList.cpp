#include "ui/mainwindow/PhotoFileList.h"

#include <QCollator>
#include <QDir>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

#include "core/optimize/PhotoFolderScan.h"
#include "ui/mainwindow/MainIcons.h"
#include "ui/mainwindow/ThumbnailLoader.h"

namespace {

constexpr int kItemHeight = 16;
constexpr int kTextGap = 6;  // between an entry's icon and its name, as the style draws it
constexpr QSize kThumbnailCell(ThumbnailLoader::kSide + 20, ThumbnailLoader::kSide + 22);

// Rows of the text list keep the designed 16 pixels; the grid's cells come
// from the grid size.
class FixedHeightDelegate : public QStyledItemDelegate {
 public:
  explicit FixedHeightDelegate(PhotoFileList* list) : QStyledItemDelegate(list), list_(list) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (!list_->ThumbnailView()) size.setHeight(kItemHeight);
    return size;
  }

 private:
  PhotoFileList* list_;
};

QIcon ThumbnailIcon(const QImage& picture) {
  // Centred in a square, so the grid's names stay on one line whatever the photo's shape.
  QPixmap square(ThumbnailLoader::kSide, ThumbnailLoader::kSide);
  square.fill(Qt::transparent);
  QPainter(&square).drawImage((square.width() - picture.width()) / 2, (square.height() - picture.height()) / 2,
                              picture);
  return QIcon(square);
}

}  // namespace

PhotoFileList::PhotoFileList(QWidget* parent)
    : QListWidget(parent), fileIcon_(MainIcons::PhotoFileIcon()), thumbnails_(new ThumbnailLoader(this)) {
  setObjectName(QStringLiteral("fileList"));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setIconSize(QSize(16, 16));
  setUniformItemSizes(true);
  setItemDelegate(new FixedHeightDelegate(this));
  // A press on a selected photo keeps the others selected, so several can
  // be dragged; the drag itself is started by hand, see mouseMoveEvent.
  setDragEnabled(true);
  setContextMenuPolicy(Qt::NoContextMenu);
  connect(thumbnails_, &ThumbnailLoader::ThumbnailReady, this, &PhotoFileList::ThumbnailArrived);
}

QStringList PhotoFileList::ListedNames(const QString& folder) const {
  // The names the tray and the folder scan take, so IMG_0001.JPG is listed too.
  QStringList names = QDir(folder).entryList(QDir::Files);
  names.removeIf([](const QString& name) { return !lumatrim::IsPhotoFileName(name.toStdString()); });
  // Czech order whatever the system's locale: "č" after "c", "ř" after "r".
  QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
  collator.setNumericMode(true);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
  return names;
}

void PhotoFileList::Fill(const QStringList& names) {
  clear();
  const QDir dir(folder_);
  for (const QString& name : names) {
    auto* entry = new QListWidgetItem(fileIcon_, name, this);
    entry->setData(Qt::UserRole, dir.absoluteFilePath(name));
  }
  RequestThumbnails();
}

void PhotoFileList::ShowFolder(const QString& folder) {
  thumbnails_->CancelPending();
  folder_ = folder;
  if (folder.isEmpty()) return clear();
  Fill(ListedNames(folder));
}

bool PhotoFileList::Refresh() {
  if (folder_.isEmpty()) return false;
  const QStringList names = ListedNames(folder_);
  QStringList shown;
  for (int row = 0; row < count(); ++row) shown << item(row)->text();
  if (names == shown) return false;
  const QStringList selected = SelectedPaths();
  const QString current = currentItem() ? currentItem()->data(Qt::UserRole).toString() : QString();
  const int scrolled = verticalScrollBar()->value();
  {
    const QSignalBlocker quiet(this);
    const QSignalBlocker quietSelection(selectionModel());
    Fill(names);
    for (int row = 0; row < count(); ++row) {
      if (PathAt(row) == current) setCurrentRow(row, QItemSelectionModel::NoUpdate);
    }
    SelectPaths(selected);
  }
  verticalScrollBar()->setValue(scrolled);
  viewport()->update();
  return true;
}

QString PhotoFileList::PathAt(int row) const {
  QListWidgetItem* entry = item(row);
  return entry ? entry->data(Qt::UserRole).toString() : QString();
}

QString PhotoFileList::SelectedPath() const {
  if (currentItem() && currentItem()->isSelected()) return currentItem()->data(Qt::UserRole).toString();
  const QStringList selected = SelectedPaths();
  return selected.isEmpty() ? QString() : selected.first();
}

QStringList PhotoFileList::SelectedPaths() const {
  QStringList paths;
  for (int row = 0; row < count(); ++row) {
    if (item(row)->isSelected()) paths << PathAt(row);
  }
  return paths;
}

void PhotoFileList::SelectPaths(const QStringList& paths) {
  for (int row = 0; row < count(); ++row) item(row)->setSelected(paths.contains(PathAt(row)));
}

void PhotoFileList::SetThumbnailView(bool on) {
  thumbnailView_ = on;
  setViewMode(on ? QListView::IconMode : QListView::ListMode);
  setIconSize(on ? QSize(ThumbnailLoader::kSide, ThumbnailLoader::kSide) : QSize(16, 16));
  setGridSize(on ? kThumbnailCell : QSize());
  setResizeMode(on ? QListView::Adjust : QListView::Fixed);
  setMovement(QListView::Static);
  // The row size cached for the text list would clip the grid's cells.
  setUniformItemSizes(!on);
  setWordWrap(false);
  setTextElideMode(on ? Qt::ElideMiddle : Qt::ElideRight);
  if (!on) {
    for (int row = 0; row < count(); ++row) item(row)->setIcon(fileIcon_);
  }
  RequestThumbnails();
  if (QListWidgetItem* entry = currentItem()) scrollToItem(entry);
}

void PhotoFileList::RequestThumbnails() {
  if (!thumbnailView_) return;
  for (int row = 0; row < count(); ++row) {
    const QImage picture = thumbnails_->Request(PathAt(row));
    if (!picture.isNull()) item(row)->setIcon(ThumbnailIcon(picture));
  }
}

void PhotoFileList::ThumbnailArrived(const QString& path, const QImage& picture) {
  if (!thumbnailView_) return;
  for (int row = 0; row < count(); ++row) {
    if (PathAt(row) == path) item(row)->setIcon(ThumbnailIcon(picture));
  }
}

void PhotoFileList::ForgetThumbnail(const QString& path) {
  // The cache goes by modification time; asking again fetches the new picture.
  if (thumbnailView_) (void)thumbnails_->Request(path);
}

bool PhotoFileList::NameCut(const QListWidgetItem* entry) const {
  if (entry == nullptr) return false;
  const QRect cell = visualItemRect(entry);
  const int textWidth = fontMetrics().horizontalAdvance(entry->text());
  if (thumbnailView_) return textWidth > cell.width() - 4;
  // A long name runs past the list's right edge.
  const int textRight = cell.left() + iconSize().width() + kTextGap + textWidth;
  return textRight > std::min(cell.right(), viewport()->width());
}

bool PhotoFileList::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QListWidgetItem* entry = itemAt(help->pos());
    if (NameCut(entry))
      QToolTip::showText(help->globalPos(), entry->text(), viewport(), visualItemRect(entry));
    else
      QToolTip::hideText();
    return true;
  }
  return QListWidget::viewportEvent(event);
}

void PhotoFileList::startDrag(Qt::DropActions) {}

void PhotoFileList::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier) {
    emit DragRequested();
    return;
  }
  QListWidget::mouseMoveEvent(event);
}
