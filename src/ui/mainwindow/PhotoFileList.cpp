#include "ui/mainwindow/PhotoFileList.h"

#include <QCollator>
#include <QDir>
#include <QLocale>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "ui/mainwindow/MainIcons.h"

namespace {

constexpr int kItemHeight = 16;

class FixedHeightDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(kItemHeight);
    return size;
  }
};

}  // namespace

PhotoFileList::PhotoFileList(QWidget* parent) : QListWidget(parent), fileIcon_(MainIcons::PhotoFileIcon()) {
  setObjectName(QStringLiteral("fileList"));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setIconSize(QSize(16, 16));
  setUniformItemSizes(true);
  setItemDelegate(new FixedHeightDelegate(this));
  setDragEnabled(false);  // the drag is started by hand, see mouseMoveEvent
  setContextMenuPolicy(Qt::NoContextMenu);
}

void PhotoFileList::ShowFolder(const QString& folder) {
  clear();
  if (folder.isEmpty()) return;
  QDir dir(folder);
  // Name filters of QDir ignore letter case, so IMG_0001.JPG is listed too.
  QFileInfoList files = dir.entryInfoList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.heic"),
                                           QStringLiteral("*.heif"), QStringLiteral("*.hif"), QStringLiteral("*.avif")},
                                          QDir::Files);
  // Czech order whatever the system's locale: "č" after "c", "ř" after "r".
  QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
  collator.setNumericMode(true);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(files.begin(), files.end(),
            [&](const QFileInfo& a, const QFileInfo& b) { return collator.compare(a.fileName(), b.fileName()) < 0; });
  for (const QFileInfo& info : files) {
    auto* item = new QListWidgetItem(fileIcon_, info.fileName(), this);
    item->setData(Qt::UserRole, info.absoluteFilePath());
  }
}

QString PhotoFileList::PathAt(int row) const {
  QListWidgetItem* entry = item(row);
  return entry ? entry->data(Qt::UserRole).toString() : QString();
}

QString PhotoFileList::SelectedPath() const {
  QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.first()->data(Qt::UserRole).toString();
}

void PhotoFileList::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier) {
    emit DragRequested();
    return;
  }
  QListWidget::mouseMoveEvent(event);
}
