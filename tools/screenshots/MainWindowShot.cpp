// Takes the picture of the main window for the documentation: the window is
// started in a folder as a user starts it, a photo is selected and a few are
// put in the tray, then the window grabs itself into a PNG.
//
//   main_window_shot [--size=WxH] [--thumbnails] FOLDER PHOTO OUT.png [TRAY_PHOTO...]
// Without --size the window has its designed size; --thumbnails shows the
// file list as "Náhledy".
//   main_window_shot --error-box OUT.png
// draws the message of a batch that failed on a very long file name instead;
//   main_window_shot --folder-chooser OUT.png
// the folder chooser opened at the current target (the working folder).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <memory>

#include "ui/mainwindow/MainIcons.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/preview/PhotoPreview.h"
#include "ui/prompts/AppTitle.h"
#include "ui/prompts/CzechTranslations.h"
#include "ui/prompts/FailureText.h"
#include "ui/prompts/Prompts.h"
#include "ui/targetfolder/TargetFolderDialog.h"

namespace {

int RowOf(QListWidget* list, const QString& name) {
  for (int row = 0; row < list->count(); ++row)
    if (list->item(row)->text() == name) return row;
  return -1;
}

// What a user sees when the batch cannot write a photo whose name is too
// long: Czech first, the technical detail below, wrapped inside a narrow box.
int ErrorBoxShot(const QString& out) {
  const std::string path = "/home/jana/Obrázky/Dovolená 2026/opt_" + std::string(40, 'x') + "_" +
                           std::string(200, 'y') + ".jpg";
  const lumatrim::LumatrimError error(
      lumatrim::FailureKind::NameTooLong,
      "Photo 3 of 12 (\"" + path.substr(0, 60) + "...\"): Cannot write file \"" + path +
          "\": cannot create a file in its folder (File name too long).");
  std::unique_ptr<QMessageBox> box(Prompts::MakeMessageBox(
      nullptr, QMessageBox::Warning, failuretext::Message(QStringLiteral("Optimalizace se nezdařila."), error),
      QMessageBox::Ok));
  box->show();
  if (!QTest::qWaitForWindowExposed(box.get())) return 1;
  QTest::qWait(200);
  return box->grab().save(out) ? 0 : 1;
}

int FolderChooserShot(const QString& out) {
  QLineEdit target(QDir::currentPath());
  TargetFolderDialog chooser(&target, nullptr);
  chooser.show();
  if (!QTest::qWaitForWindowExposed(&chooser)) return 1;
  QTest::qWait(1500);  // the tree fills in the background
  return chooser.grab().save(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // A window size remembered from a real run must not leak into the picture.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  QApplication app(argc, argv);
  QSize size;
  if (argc > 1 && QByteArray(argv[1]).startsWith("--size=")) {
    const QList<QByteArray> sides = QByteArray(argv[1]).mid(7).split('x');
    if (sides.size() == 2) size = QSize(sides[0].toInt(), sides[1].toInt());
    --argc;
    ++argv;
  }
  const bool thumbnails = argc > 1 && QByteArray(argv[1]) == "--thumbnails";
  if (thumbnails) {
    --argc;
    ++argv;
  }
  if (argc < 4 && !(argc == 3 && (QByteArray(argv[1]) == "--error-box" || QByteArray(argv[1]) == "--folder-chooser"))) {
    std::fputs("usage: main_window_shot [--size=WxH] FOLDER PHOTO OUT.png [TRAY_PHOTO...]\n", stderr);
    return 2;
  }
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  InstallCzechTranslations(app);
  if (QByteArray(argv[1]) == "--error-box") return ErrorBoxShot(QString::fromLocal8Bit(argv[2]));
  if (QByteArray(argv[1]) == "--folder-chooser") return FolderChooserShot(QString::fromLocal8Bit(argv[2]));
  QApplication::setWindowIcon(MainIcons::AppIcon());
  if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "main_window_shot: no folder %s\n", argv[1]);
    return 1;
  }
  MainWindow window;
  if (size.isValid()) window.resize(size);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;

  if (thumbnails) window.findChild<QToolButton*>(QStringLiteral("thumbnailViewButton"))->setChecked(true);
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
  window.Preview()->WaitUntilDecoded();
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
