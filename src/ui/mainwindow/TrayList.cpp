#include "ui/mainwindow/TrayList.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>
#include <QStyledItemDelegate>

namespace {

// Text is taken only from drags started inside this program (from the file
// list): text dropped from other programs is not a path we listed. Files
// and folders come from a file manager as local URLs.
bool FromFileList(const QDropEvent* event) { return event->source() != nullptr && event->mimeData()->hasText(); }

QStringList LocalPaths(const QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

bool Acceptable(const QDropEvent* event) { return FromFileList(event) || !LocalPaths(event).isEmpty(); }

// Entries as wide as the list, so a long path is shortened at its start and
// the file name stays readable; the whole path is in the tool tip.
class FittedRowDelegate : public QStyledItemDelegate {
 public:
  explicit FittedRowDelegate(QListWidget* list) : QStyledItemDelegate(list), list_(list) {}
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {list_->viewport()->width(), 16};
  }

 private:
  QListWidget* list_;
};

}  // namespace

TrayList::TrayList(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("trayList"));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setContextMenuPolicy(Qt::CustomContextMenu);
  setItemDelegate(new FittedRowDelegate(this));
  setTextElideMode(Qt::ElideLeft);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TrayList::dragEnterEvent(QDragEnterEvent* event) {
  if (!Acceptable(event)) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TrayList::dragMoveEvent(QDragMoveEvent* event) {
  if (!Acceptable(event)) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TrayList::dropEvent(QDropEvent* event) {
  if (!Acceptable(event)) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (FromFileList(event)) {
    emit Dropped();
  } else {
    emit PathsDropped(LocalPaths(event));
  }
}
