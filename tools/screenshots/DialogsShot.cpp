// Not a test: drives the program under X as a user would (mouse and
// keyboard only) and takes screenshots of the optimisation dialog during a
// batch and of the three tabs of the detail window with ImageMagick's import.
//   dialogs_shot SAMPLES_DIR WORK_DIR DOCS_DIR
// Exit status 0 when the whole path worked and every screenshot was taken.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QSettings>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <random>

#include "core/jpeg/JpegImage.h"
#include "ui/details/DetailsWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/optimize/OptimizeDialog.h"

namespace {

int failures = 0;

void Fail(const QString& what) {
  std::fprintf(stderr, "dialogs_shot: %s\n", qPrintable(what));
  ++failures;
}

// A 4 MP photo-like picture: smooth light with fine grain, so it codes like a camera photo.
void MakeBigPhoto(const QString& path, int seed) {
  constexpr int kWidth = 2400, kHeight = 1800;
  lumatrim::Bitmap bitmap(kWidth, kHeight);
  std::minstd_rand noise(static_cast<unsigned>(seed) + 1);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < kWidth; ++x) {
      const int grain = static_cast<int>(noise() % 24);
      row[3 * x] = static_cast<uint8_t>((x * 200 / kWidth + seed * 13 + grain) % 256);
      row[3 * x + 1] = static_cast<uint8_t>(60 + y * 150 / kHeight + grain);
      row[3 * x + 2] = static_cast<uint8_t>(120 + ((x / 40 + y / 40) % 2) * 60 + grain);
    }
  }
  lumatrim::JpegImage image;
  image.Assign(std::move(bitmap));
  image.Compress(92, false);
  image.SaveToFile(QFile::encodeName(path).toStdString());
}

// Grabs the screen rectangle of a widget's window (or of rect) into a PNG.
void Shot(const QRect& rect, const QString& path) {
  QApplication::processEvents();
  QProcess import;
  import.start(QStringLiteral("import"),
               {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                QStringLiteral("%1x%2+%3+%4").arg(rect.width()).arg(rect.height()).arg(rect.x()).arg(rect.y()),
                QStringLiteral("+repage"), path});
  if (!import.waitForFinished(20000) || import.exitCode() != 0) Fail(QStringLiteral("import failed for ") + path);
  else std::printf("%s\n", qPrintable(path));
}

QRect ScreenRect(QWidget* window) { return QRect(window->mapToGlobal(QPoint(0, 0)), window->size()); }

// Runs steps one after another, each when its condition holds, from timers,
// so they also run inside the modal loops of the dialogs.
class Script : public QObject {
 public:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> action;
    QString name;
  };
  void Then(const QString& name, std::function<void()> action, std::function<bool()> ready = [] { return true; }) {
    steps_.push_back({std::move(ready), std::move(action), name});
  }
  void Start() { QTimer::singleShot(300, this, [this] { Next(); }); }

 private:
  void Next() {
    if (steps_.empty()) return QApplication::quit();
    if (++waited_ > 600) {  // 60 s for one step
      Fail(QStringLiteral("timed out at: ") + steps_.front().name);
      return QApplication::exit(1);
    }
    if (!steps_.front().ready()) {
      QTimer::singleShot(100, this, [this] { Next(); });
      return;
    }
    Step step = std::move(steps_.front());
    steps_.erase(steps_.begin());
    waited_ = 0;
    std::printf("step: %s\n", qPrintable(step.name));
    // Scheduled first: the action may open a modal dialog and not return until it closes.
    QTimer::singleShot(250, this, [this] { Next(); });
    step.action();
  }
  std::vector<Step> steps_;
  int waited_ = 0;
};

template <typename T>
T* Modal() {
  return qobject_cast<T*>(QApplication::activeModalWidget());
}

void Click(QWidget* widget) {
  if (widget == nullptr) return Fail(QStringLiteral("no widget to click"));
  QTest::mouseClick(widget, Qt::LeftButton);
}

void TypeInto(QLineEdit* edit, const QString& text) {
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, text);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korvel Lumatrim 1.5"));
  if (argc != 4) {
    std::fprintf(stderr, "usage: dialogs_shot SAMPLES_DIR WORK_DIR DOCS_DIR\n");
    return 2;
  }
  const QString samples = QString::fromLocal8Bit(argv[1]);
  const QString work = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
  const QString docs = QDir(QString::fromLocal8Bit(argv[3])).absolutePath();
  const QString photos = work + QStringLiteral("/výlet");
  const QString target = work + QStringLiteral("/pro web");
  QDir(work).removeRecursively();
  QDir().mkpath(photos);
  QDir().mkpath(target);
  QDir().mkpath(docs);
  // The dialogs start as on a first run, whatever the user's own settings say.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work + QStringLiteral("/settings"));
  for (const QString& name : QDir(samples).entryList({QStringLiteral("*.jpg")}, QDir::Files))
    QFile::copy(samples + '/' + name, photos + '/' + name);
  constexpr int kBigPhotos = 16;
  for (int i = 1; i <= kBigPhotos; ++i) MakeBigPhoto(photos + QStringLiteral("/velka_%1.jpg").arg(i, 2, 10, QChar('0')), i);
  const int photoCount = static_cast<int>(QDir(photos).entryList({QStringLiteral("*.jpg")}, QDir::Files).size());

  QDir::setCurrent(photos);
  MainWindow form;
  form.move(0, 0);
  form.show();
  auto* fileList = form.findChild<QListWidget*>(QStringLiteral("fileList"));
  auto* tray = form.findChild<QListWidget*>(QStringLiteral("trayList"));
  auto* continueButton = form.findChild<QPushButton*>(QStringLiteral("continueButton"));
  auto* moveAllButton = form.findChild<QPushButton*>(QStringLiteral("moveAllButton"));
  auto* detailsButton = form.findChild<QPushButton*>(QStringLiteral("detailsButton"));
  if (!fileList || !tray || !continueButton || !moveAllButton || !detailsButton) {
    Fail(QStringLiteral("main window controls not found"));
    return 1;
  }

  Script script;
  script.Then(QStringLiteral("move every photo to the tray"), [&] { Click(moveAllButton); });
  script.Then(QStringLiteral("Pokračovat >"), [&] {
    if (tray->count() != photoCount) Fail(QStringLiteral("tray has %1 photos").arg(tray->count()));
    Click(continueButton);  // modal: the next steps run inside its loop
  });
  script.Then(
      QStringLiteral("tick the e-mail preset beside the web one"),
      [&] {
        OptimizeDialog* dialog = Modal<OptimizeDialog>();
        dialog->activateWindow();
        dialog->SetPresetTicked(QStringLiteral("E-mail"), true);
      },
      [] { return Modal<OptimizeDialog>() != nullptr; });
  script.Then(
      QStringLiteral("the presets with their estimate"),
      [&] { Shot(ScreenRect(Modal<OptimizeDialog>()), docs + QStringLiteral("/optimalizace-predvolby.png")); },
      [] { return Modal<OptimizeDialog>()->EstimateLabel()->text().startsWith(QStringLiteral("Odhad: ")); });
  script.Then(
      QStringLiteral("type the target, the short side and start"),
      [&] {
        OptimizeDialog* dialog = Modal<OptimizeDialog>();
        dialog->activateWindow();
        dialog->TickOnlyPreset(QStringLiteral("Vlastní"));
        TypeInto(dialog->TargetFolderEdit(), target);
        TypeInto(dialog->WidthEdit(), QStringLiteral("600"));
        if (dialog->LengthEdit()->text() != QStringLiteral("800")) Fail(QStringLiteral("no 4:3 auto-fill"));
        QTest::keyClick(dialog->CompressionSlider(), Qt::Key_Right);  // compression 21 %
        // The shot is taken while the batch runs: the engine works on its own
        // thread, so the dialog has repainted with the gauge part way.
        QObject::connect(dialog->ProgressBar(), &QProgressBar::valueChanged, dialog, [&form, &docs, dialog](int value) {
          static bool taken = false;
          if (taken || value < 3) return;
          taken = true;
          if (dialog->BackButton()->text() != QStringLiteral("Přerušit")) Fail(QStringLiteral("no Přerušit during the batch"));
          dialog->repaint();
          Shot(ScreenRect(&form), docs + QStringLiteral("/optimalizace-davka.png"));
        });
        Click(dialog->StartButton());
      },
      [] { return Modal<OptimizeDialog>() != nullptr; });
  script.Then(
      QStringLiteral("confirm the completion message"),
      [&] {
        auto* box = Modal<QMessageBox>();
        if (!box->text().startsWith(QStringLiteral("Hotovo: "))) Fail(QStringLiteral("message: ") + box->text());
        Shot(ScreenRect(&form), docs + QStringLiteral("/optimalizace-hotovo.png"));
        QTest::keyClick(box, Qt::Key_Return);  // "OK", the default; "Otevřít složku" would start a file manager
      },
      [] { return Modal<QMessageBox>() != nullptr; });
  script.Then(QStringLiteral("check the outputs, select a photo"), [&] {
    if (tray->count() != 0 || continueButton->isEnabled()) Fail(QStringLiteral("tray not emptied after the batch"));
    const int written = static_cast<int>(QDir(target).entryList({QStringLiteral("opt_*.jpg")}, QDir::Files).size());
    if (written != photoCount) Fail(QStringLiteral("%1 of %2 photos written").arg(written).arg(photoCount));
    QListWidgetItem* item = fileList->findItems(QStringLiteral("01_canon_hrad.jpg"), Qt::MatchExactly).value(0);
    if (item == nullptr) return Fail(QStringLiteral("sample photo not listed"));
    fileList->setFocus();
    fileList->setCurrentItem(item);  // as the arrow keys select it
  });
  script.Then(
      QStringLiteral("Podrobnosti"), [&] { Click(detailsButton); }, [&] { return detailsButton->isEnabled(); });
  const char* tabShots[] = {"/podrobnosti-exif.png", "/podrobnosti-miniatura.png", "/podrobnosti-iptc.png", "/podrobnosti-xmp.png"};
  for (int tab = 0; tab < 4; ++tab) {
    script.Then(
        QStringLiteral("tab %1").arg(tab),
        [&, tab] {
          DetailsWindow* window = Modal<DetailsWindow>();
          if (window->Tabs()->currentIndex() != tab) Fail(QStringLiteral("wrong tab shown"));
          Shot(ScreenRect(window), docs + QString::fromLatin1(tabShots[tab]));
          QTest::keyClick(window->Tabs(), Qt::Key_Tab, Qt::ControlModifier);
        },
        [] { return Modal<DetailsWindow>() != nullptr; });
  }
  script.Then(QStringLiteral("Zavřít"), [&] { QTest::keyClick(Modal<DetailsWindow>()->CloseButton(), Qt::Key_Space); });
  script.Then(QStringLiteral("close the program"), [&] { form.close(); }, [] { return QApplication::activeModalWidget() == nullptr; });
  script.Start();
  const int status = QApplication::exec();
  return status != 0 || failures > 0 ? 1 : 0;
}
