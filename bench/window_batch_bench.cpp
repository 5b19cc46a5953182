// The optimisation batch as a user runs it from the windows: the main window
// started in a folder of photos, "Přesunout vše", "Pokračovat >", a target
// folder, 600 x 800 at compression 20, "Optimalizovat". Measures the batch's
// wall time from the click to its end, and whether the windows stayed alive
// meanwhile: how the gauge advanced, how long the event loop was ever kept
// from running, and how often the main window and the dialog repainted.
//   window_batch_bench PHOTO_FOLDER TARGET_FOLDER
// Prints one line "window_seconds S" for the driving script, then the report.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "ui/mainwindow/MainWindow.h"
#include "ui/optimize/OptimizeDialog.h"
#include "ui/prompts/Prompts.h"

namespace {

// Counts the paint events the widgets of one window (or one widget) receive
// while the batch runs.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(std::function<bool(QWidget*)> belongs) : belongs_(std::move(belongs)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (counting && event->type() == QEvent::Paint && watched->isWidgetType() &&
        belongs_(static_cast<QWidget*>(watched))) {
      ++paints;
    }
    return QObject::eventFilter(watched, event);
  }
  bool counting = false;
  int paints = 0;

 private:
  std::function<bool(QWidget*)> belongs_;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: window_batch_bench PHOTO_FOLDER TARGET_FOLDER\n", stderr);
    return 2;
  }
  const QString target = QString::fromLocal8Bit(argv[2]);
  QStringList errors;
  Prompts::Message = [](QWidget*, const QString&) {};  // the user's OK on the final notice
  Prompts::Error = [&errors](QWidget*, const QString& text) { errors << text; };

  QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
  MainWindow window;
  window.show();
  window.MoveAllClicked();
  auto* tray = window.findChild<QListWidget*>(QStringLiteral("trayList"));
  const int photos = tray->count();

  OptimizeDialog* dialog = nullptr;
  PaintCounter windowPaints([&](QWidget* w) { return w == &window; });  // one per frame
  PaintCounter dialogPaints([&](QWidget* w) { return dialog && w->window() == dialog; });
  PaintCounter gaugePaints([&](QWidget* w) { return dialog && w == dialog->ProgressBar(); });
  for (PaintCounter* counter : {&windowPaints, &dialogPaints, &gaugePaints}) app.installEventFilter(counter);
  QElapsedTimer clock;
  std::vector<double> ticks, gaugeSteps;
  int gaugeJumps = 0, gaugeLast = 0;
  double seconds = 0;

  // Every 10 ms the event loop notes that it ran and asks the main window to
  // repaint, as a user moving the mouse over it would.
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    ticks.push_back(clock.nsecsElapsed() / 1e6);
    window.update();
  });

  QTimer::singleShot(0, &window, [&] {
    dialog = window.findChild<OptimizeDialog*>();
    QObject::connect(dialog->ProgressBar(), &QProgressBar::valueChanged, [&](int value) {
      if (value <= gaugeLast) return;
      if (value > gaugeLast + 1) ++gaugeJumps;
      gaugeLast = value;
      gaugeSteps.push_back(clock.nsecsElapsed() / 1e6);
    });
    QObject::connect(dialog, &OptimizeDialog::BatchEnded, [&](bool) {
      seconds = clock.nsecsElapsed() / 1e9;
      heartbeat.stop();
      windowPaints.counting = dialogPaints.counting = gaugePaints.counting = false;
    });
    dialog->TargetFolderEdit()->setText(target);
    dialog->CompressionSlider()->setValue(20);
    dialog->CustomSizeRadio()->click();
    dialog->WidthEdit()->setText(QStringLiteral("600"));
    dialog->LengthEdit()->setText(QStringLiteral("800"));
    windowPaints.counting = dialogPaints.counting = gaugePaints.counting = true;
    clock.start();
    heartbeat.start(10);
    dialog->StartButton()->click();
  });
  window.findChild<QPushButton*>(QStringLiteral("continueButton"))->click();  // returns when the dialog has closed

  if (!errors.isEmpty() || tray->count() != 0) {
    std::fprintf(stderr, "window_batch_bench: the batch failed: %s\n", qPrintable(errors.join(QLatin1Char('\n'))));
    return 1;
  }
  std::vector<double> stalls, pauses;
  for (size_t i = 1; i < ticks.size(); ++i) stalls.push_back(ticks[i] - ticks[i - 1]);
  for (size_t i = 1; i < gaugeSteps.size(); ++i) pauses.push_back(gaugeSteps[i] - gaugeSteps[i - 1]);
  std::printf("window_seconds %.3f\n", seconds);
  std::printf("window: %d photos in %.2f s, %.2f photos/s\n", photos, seconds, photos / seconds);
  std::printf("gauge: %zu steps (%d jumps of more than one photo), between steps median %.0f ms, longest %.0f ms; "
              "painted %d times\n",
              gaugeSteps.size(), gaugeJumps, Median(pauses),
              pauses.empty() ? 0.0 : *std::max_element(pauses.begin(), pauses.end()), gaugePaints.paints);
  std::printf("event loop (10 ms heartbeat): %zu beats, median gap %.1f ms, longest gap %.1f ms\n", ticks.size(),
              Median(stalls), stalls.empty() ? 0.0 : *std::max_element(stalls.begin(), stalls.end()));
  std::printf("repaints during the batch: main window %d frames, dialog %d widget paints\n", windowPaints.paints,
              dialogPaints.paints);
  return 0;
}
