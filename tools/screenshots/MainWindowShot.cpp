// Takes the picture of the main window for the documentation: the window is
// started in a folder as a user starts it, a photo is selected and a few are
// put in the tray, then the window grabs itself into a PNG.
//
//   main_window_shot FOLDER PHOTO OUT.png [TRAY_PHOTO...]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTest>
#include <cstdio>

#include "ui/mainwindow/MainIcons.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/prompts/AppTitle.h"

namespace {

int RowOf(QListWidget* list, const QString& name) {
  for (int row = 0; row < list->count(); ++row)
    if (list->item(row)->text() == name) return row;
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 4) {
    std::fputs("usage: main_window_shot FOLDER PHOTO OUT.png [TRAY_PHOTO...]\n", stderr);
    return 2;
  }
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  QApplication::setWindowIcon(MainIcons::AppIcon());
  if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "main_window_shot: no folder %s\n", argv[1]);
    return 1;
  }
  MainWindow window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;

  auto* list = window.findChild<QListWidget*>(QStringLiteral("fileList"));
  for (int i = 4; i < argc; ++i) {
    int row = RowOf(list, QString::fromLocal8Bit(argv[i]));
    if (row < 0) continue;
    list->setCurrentRow(row);
    window.FileDoubleClicked();
  }
  int row = RowOf(list, QString::fromLocal8Bit(argv[2]));
  if (row < 0) {
    std::fprintf(stderr, "main_window_shot: %s is not in the list\n", argv[2]);
    return 1;
  }
  list->setCurrentRow(row);
  list->setFocus();
  // The folder tree fills in the background; give it time to settle.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 1500) QTest::qWait(50);
  if (!window.grab().save(QString::fromLocal8Bit(argv[3]))) {
    std::fprintf(stderr, "main_window_shot: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
