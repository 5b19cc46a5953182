#pragma once
#include <QMainWindow>

// The main window: folder tree, file list, tray, preview and EXIF summary.
class TFormDefault : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFormDefault(QWidget* parent = nullptr);
};
