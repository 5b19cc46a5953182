#pragma once
#include <QListWidget>

// The tray: full paths of the photos to optimise, in the order they came.
// It accepts drops of files dragged from the file list of this window, and
// files and folders dragged from a file manager.
class TrayList : public QListWidget {
  Q_OBJECT

 public:
  explicit TrayList(QWidget* parent);

 signals:
  void Dropped();
  // Local files and folders dropped from outside the program.
  void PathsDropped(const QStringList& paths);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};
