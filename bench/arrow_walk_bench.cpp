// Walking through a folder of large photos with the arrow key: how long the
// window's event loop is ever held up, and how soon each photo shows (its
// EXIF thumbnail, then the decoded preview).
//   arrow_walk_bench FOLDER [STEP_MS...]
// For each step interval (default 400 and 40: one photo looked at after the
// other, and the key held down) the arrow key walks from the first photo to
// the last while a 5 ms heartbeat timer records every turn of the event loop.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/mainwindow/MainWindow.h"
#include "ui/preview/PhotoPreview.h"

namespace {

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
double Max(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

struct Walk {
  std::vector<double> beatGaps;   // ms between heartbeats
  std::vector<double> keyToThumb; // ms from key press to the thumbnail on screen
  std::vector<double> keyToFull;  // ms from key press to the decoded preview (photos not superseded)
};

Walk RunWalk(MainWindow& window, QListWidget* list, int stepMs) {
  Walk walk;
  PhotoPreview* preview = window.Preview();
  list->setCurrentRow(0);
  preview->WaitUntilDecoded();

  QElapsedTimer clock;
  clock.start();
  double lastBeat = 0;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    const double now = clock.nsecsElapsed() / 1e6;
    walk.beatGaps.push_back(now - lastBeat);
    lastBeat = now;
  });
  double pressedAt = -1;
  QMetaObject::Connection shown = QObject::connect(preview, &PhotoPreview::PhotoShown, [&] {
    if (pressedAt >= 0) walk.keyToFull.push_back(clock.nsecsElapsed() / 1e6 - pressedAt);
    pressedAt = -1;
  });
  QEventLoop loop;
  QTimer keys;
  keys.setTimerType(Qt::PreciseTimer);
  QObject::connect(&keys, &QTimer::timeout, [&] {
    if (list->currentRow() + 1 >= list->count()) {
      keys.stop();
      QTimer::singleShot(0, [&] {
        preview->WaitUntilDecoded();
        loop.quit();
      });
      return;
    }
    const double before = clock.nsecsElapsed() / 1e6;
    QTest::keyClick(list, Qt::Key_Down);
    list->repaint();  // the stand-in is on screen when this returns
    preview->repaint();
    walk.keyToThumb.push_back(clock.nsecsElapsed() / 1e6 - before);
    pressedAt = before;
  });
  lastBeat = clock.nsecsElapsed() / 1e6;
  heartbeat.start(5);
  keys.start(stepMs);
  loop.exec();
  heartbeat.stop();
  QObject::disconnect(shown);
  return walk;
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fputs("usage: arrow_walk_bench FOLDER [STEP_MS...]\n", stderr);
    return 2;
  }
  std::vector<int> steps;
  for (int i = 2; i < argc; ++i) steps.push_back(std::max(1, std::atoi(argv[i])));
  if (steps.empty()) steps = {400, 40};
  QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
  MainWindow window;
  window.SetMessageSink([](const QString& text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); });
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  auto* list = window.findChild<QListWidget*>(QStringLiteral("fileList"));
  list->setFocus();
  // The folder tree fills in from a background thread during the first
  // seconds and inserts its rows on the window's thread; walk once it is done,
  // as a user looks at the window before arrowing through photos.
  QTest::qWait(3500);
  std::printf("%d photos in %s\n", list->count(), argv[1]);
  for (int step : steps) {
    const Walk walk = RunWalk(window, list, step);
    const auto over30 = std::count_if(walk.beatGaps.begin(), walk.beatGaps.end(), [](double gap) { return gap > 30; });
    std::printf("arrow every %d ms: longest event-loop stall %.1f ms (5 ms heartbeat, median gap %.1f ms, "
                "%td of %zu gaps over 30 ms); "
                "key to thumbnail median %.1f ms, worst %.1f ms; key to full preview median %.1f ms, worst %.1f ms "
                "(%zu of %zu photos decoded, the rest superseded)\n",
                step, Max(walk.beatGaps), Median(walk.beatGaps), over30, walk.beatGaps.size(), Median(walk.keyToThumb), Max(walk.keyToThumb),
                Median(walk.keyToFull), Max(walk.keyToFull), walk.keyToFull.size(), walk.keyToThumb.size());
  }
  return 0;
}
