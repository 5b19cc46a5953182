#include "ui/main/TrayListBox.h"

#include <QDragEnterEvent>
#include <QMimeData>

namespace {

// Only drags started inside this program (from the file list) are taken;
// text dropped from other programs is not a path we listed.
bool Acceptable(const QDropEvent* event) { return event->source() != nullptr && event->mimeData()->hasText(); }

}  // namespace

TTrayListBox::TTrayListBox(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("ListTarget"));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setContextMenuPolicy(Qt::CustomContextMenu);
}

void TTrayListBox::dragEnterEvent(QDragEnterEvent* event) {
  if (!Acceptable(event)) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TTrayListBox::dragMoveEvent(QDragMoveEvent* event) {
  if (!Acceptable(event)) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TTrayListBox::dropEvent(QDropEvent* event) {
  if (!Acceptable(event)) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
  emit Dropped();
}
