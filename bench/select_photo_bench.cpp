// Selecting a photo in the main window: preview, the three labels and the
// EXIF summary, measured through the window's own selection handling.
//   select_photo_bench PHOTO.jpg [RUNS]
// The photo is copied twice into a temporary folder; the two copies are
// selected in turn, so every run loads and decodes the photo afresh.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/mainwindow/MainWindow.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fputs("usage: select_photo_bench PHOTO.jpg [RUNS]\n", stderr);
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
  QTemporaryDir folder;
  for (const char* name : {"a.jpg", "b.jpg"}) {
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), folder.filePath(QString::fromLatin1(name)))) {
      std::fprintf(stderr, "select_photo_bench: cannot copy %s\n", argv[1]);
      return 1;
    }
  }
  QDir::setCurrent(folder.path());
  MainWindow window;
  window.SetMessageSink([](const QString& text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); });
  auto* list = window.findChild<QListWidget*>(QStringLiteral("fileList"));
  auto* summaryGrid = window.findChild<QTableWidget*>(QStringLiteral("summaryGrid"));

  list->setCurrentRow(0);  // warms the page cache and the tag tables
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer clock;
    clock.start();
    list->setCurrentRow((i + 1) % 2);
    ms.push_back(clock.nsecsElapsed() / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("photo %s: %s, scale %s, %s; camera \"%s\"\n", argv[1],
              qPrintable(window.findChild<QLabel*>(QStringLiteral("dimensionsLabel"))->text()),
              qPrintable(window.findChild<QLabel*>(QStringLiteral("scaleLabel"))->text()),
              qPrintable(window.findChild<QLabel*>(QStringLiteral("fileSizeLabel"))->text()),
              qPrintable(summaryGrid->item(0, 1)->text()));
  std::printf("select: median %.1f ms, best %.1f ms, worst %.1f ms over %d runs\n", ms[ms.size() / 2], ms.front(),
              ms.back(), runs);
  return 0;
}
