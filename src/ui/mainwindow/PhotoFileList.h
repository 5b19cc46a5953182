#pragma once
#include <QIcon>
#include <QListWidget>
#include <QString>

// The file list: the JPEG files of one folder (*.jpg and *.jpeg in any letter
// case), sorted by name, with file icons. Each entry keeps its full path.
// A mouse move with exactly the left button held (no other button, no
// modifier key) asks for a drag of the selected file.
class PhotoFileList : public QListWidget {
  Q_OBJECT

 public:
  explicit PhotoFileList(QWidget* parent);

  void ShowFolder(const QString& folder);
  QString PathAt(int row) const;
  // The selected file's full path, or empty text.
  QString SelectedPath() const;

 signals:
  void DragRequested();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QIcon fileIcon_;
};
