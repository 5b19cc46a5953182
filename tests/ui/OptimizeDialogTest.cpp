// The optimisation dialog: the 4:3 auto-fill, the state of "Optimalizovat",
// switching the size modes, remembered settings, and real batches: photos
// made here are optimised into a target folder; a damaged one in the middle
// is reported; "Přerušit" stops a long batch.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "ui/optimize/OptimizeDialog.h"

using lumatrim::test::WaitUntil;
using uitest::Q;

namespace {

class OptimisationDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog.TickOnlyPreset(QStringLiteral("Vlastní"));
    dialog.TargetFolderEdit()->setText(QStringLiteral("/tmp"));
    dialog.show();
    QApplication::setActiveWindow(&dialog);  // typing needs the focus
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }
  // Replaces the edit's text by typing, as a user would.
  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
  OptimizeDialog dialog{nullptr, [](const std::vector<std::string>&, const lumatrim::OptimizeSettings&,
                                    const std::function<void(int)>&, const std::atomic<bool>&) {
                     ADD_FAILURE() << "the batch must not start";
                     return lumatrim::BatchReport();
                   }};
};

TEST_F(OptimisationDialog, TypingFillsTheOtherSideAt4To3AndDrivesTheButton) {
  OptimizeDialog& d = dialog;
  struct Case {
    QRadioButton* mode;
    QLineEdit* typed;
    const char* text;
    const char* sir;  // both sides afterwards
    const char* del;
    bool enabled;
  } cases[] = {
      {d.FixedWidthRadio(), d.WidthEdit(), "600", "600", "800", true},
      {d.FixedWidthRadio(), d.WidthEdit(), "1024", "1024", "1365", true},  // 1365.33
      {d.FixedWidthRadio(), d.WidthEdit(), "1", "1", "1", true},           // 1.33
      {d.FixedWidthRadio(), d.WidthEdit(), "0", "0", "0", false},
      {d.FixedWidthRadio(), d.WidthEdit(), "", "", "0", false},
      {d.FixedWidthRadio(), d.WidthEdit(), "-6a0,5", "605", "807", true},  // digits only; 806.67
      {d.FixedLengthRadio(), d.LengthEdit(), "800", "600", "800", true},
      {d.FixedLengthRadio(), d.LengthEdit(), "6", "4", "6", true},     // 4.5 to even
      {d.FixedLengthRadio(), d.LengthEdit(), "10", "8", "10", true},   // 7.5 to even
      {d.FixedLengthRadio(), d.LengthEdit(), "14", "10", "14", true},  // 10.5 to even
      {d.FixedLengthRadio(), d.LengthEdit(), "1", "1", "1", true},     // 0.75
      // Free size: nothing fills itself, both sides are needed.
      {d.CustomSizeRadio(), d.WidthEdit(), "800", "800", "0", false},
      {nullptr, d.LengthEdit(), "600", "800", "600", true},
      {nullptr, d.LengthEdit(), "", "800", "", false},
      {nullptr, d.LengthEdit(), "000", "800", "000", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed->objectName().toStdString() + " typing '" + c.text + "'");
    if (c.mode != nullptr) c.mode->click();
    Type(c.typed, QString::fromLatin1(c.text));
    EXPECT_EQ(d.WidthEdit()->text(), QString::fromLatin1(c.sir));
    EXPECT_EQ(d.LengthEdit()->text(), QString::fromLatin1(c.del));
    EXPECT_EQ(d.StartButton()->isEnabled(), c.enabled);
  }
  d.FixedWidthRadio()->click();
  d.FixedWidthRadio()->setFocus();
  d.WidthEdit()->setText(QStringLiteral("300"));
  EXPECT_EQ(d.LengthEdit()->text(), QStringLiteral("0")) << "text set by the program fills nothing";
}

TEST_F(OptimisationDialog, ModeSwitchingFollowsTheTable) {
  OptimizeDialog& d = dialog;
  EXPECT_TRUE(d.FixedWidthRadio()->isChecked());
  EXPECT_FALSE(d.StartButton()->isEnabled());
  EXPECT_FALSE(d.ProgressBar()->isVisible());
  struct Row {
    QRadioButton* mode;
    bool sir, del, proces;
  } rows[] = {{d.OriginalSizeRadio(), false, false, true}, {d.FixedWidthRadio(), true, false, false}, {d.CustomSizeRadio(), true, true, false},
              {d.FixedLengthRadio(), false, true, false}, {d.OriginalSizeRadio(), false, false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode->text().toStdString());
    if (d.WidthEdit()->isEnabled()) Type(d.WidthEdit(), QStringLiteral("640"));
    if (d.LengthEdit()->isEnabled()) Type(d.LengthEdit(), QStringLiteral("480"));
    row.mode->click();
    EXPECT_EQ(d.WidthEdit()->isEnabled(), row.sir);
    EXPECT_EQ(d.LengthEdit()->isEnabled(), row.del);
    EXPECT_EQ(d.WidthEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(d.LengthEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(d.StartButton()->isEnabled(), row.proces);
  }
}

// A missing target folder is made only after asking; while something is
// missing the button is grey and its tool tip says what.
TEST_F(OptimisationDialog, MissingTargetFolderIsAskedForAndTheButtonSaysWhy) {
  lumatrim::test::PromptRecorder prompts;
  dialog.OriginalSizeRadio()->click();
  dialog.TargetFolderEdit()->setText(QStringLiteral("/nikde/není"));
  dialog.StartButton()->click();
  EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Cílová složka „/nikde/není“ neexistuje. Vytvořit ji?")});
  EXPECT_FALSE(dialog.BatchRunning());
  const struct {
    std::function<void()> change;
    const char* why;
  } steps[] = {
      {[&] { dialog.TargetFolderEdit()->clear(); }, "Zadejte cílovou složku."},
      {[&] { dialog.FixedWidthRadio()->click(); }, "Zadejte požadované rozměry („Š.“ a „D.“) předvolby „Vlastní“."},
      {[&] { dialog.SetPresetTicked(QStringLiteral("Vlastní"), false); }, "Zaškrtněte alespoň jednu předvolbu."},
      {[&] { dialog.NamePatternEdit()->setText(QStringLiteral("{jméno}")); }, "Zaškrtněte alespoň jednu předvolbu."},
      {[&] { dialog.SetPresetTicked(QStringLiteral("E-mail"), true); },
       "Vzor názvů není platný; pole jsou {název}, {datum}, {čas}, {pořadí} a {pořadí:3}."},
  };
  dialog.TargetFolderEdit()->setText(QStringLiteral("/tmp"));
  for (const auto& step : steps) {
    step.change();
    EXPECT_FALSE(dialog.StartButton()->isEnabled()) << step.why;
    EXPECT_EQ(dialog.StartButton()->toolTip(), QString::fromUtf8(step.why));
    if (dialog.TargetFolderEdit()->text().isEmpty()) dialog.TargetFolderEdit()->setText(QStringLiteral("/tmp"));
  }
}

class OptimisationBatch : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& sources) {
    ASSERT_TRUE(QDir().mkpath(Q(target)));
    dialog.show();
    QStringList paths;
    for (const std::string& path : sources) paths << Q(path);
    dialog.SetSources(paths);
    dialog.TargetFolderEdit()->setText(Q(target));
    dialog.TickOnlyPreset(QStringLiteral("Vlastní"));
  }
  lumatrim::test::TempDir dir;
  const std::string target = dir.File("cíl");
  lumatrim::test::PromptRecorder prompts;
  OptimizeDialog dialog;
  QSignalSpy completed{&dialog, &OptimizeDialog::BatchCompleted};
  QSignalSpy ended{&dialog, &OptimizeDialog::BatchEnded};
};

TEST_F(OptimisationBatch, RealPhotosAreWrittenAndTheDialogCloses) {
  Start({uitest::WritePhoto(dir.File("krajina.jpg"), 640, 480), uitest::WritePhoto(dir.File("portrét.JPG"), 300, 500)});
  QSignalSpy progress(dialog.ProgressBar(), &QProgressBar::valueChanged);
  dialog.CustomSizeRadio()->click();
  dialog.WidthEdit()->setText(QStringLiteral("120"));
  dialog.LengthEdit()->setText(QStringLiteral("200"));
  dialog.StartButton()->click();
  EXPECT_EQ(dialog.BackButton()->text(), QStringLiteral("Přerušit")) << "no way back while it runs, only a stop";
  EXPECT_FALSE(dialog.SizeGroup()->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));

  ASSERT_EQ(prompts.choices.size(), 1);
  EXPECT_TRUE(prompts.choices[0].startsWith(QStringLiteral("Hotovo: 2 fotografie, "))) << prompts.choices[0].toStdString();
  EXPECT_EQ(completed.count(), 1);
  EXPECT_EQ(dialog.ProgressBar()->value(), 2);
  EXPECT_GE(progress.count(), 2) << "the gauge moved photo by photo";
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_krajina.jpg"), std::make_pair(200, 120));
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_portrét.JPG"), std::make_pair(120, 200));
}

// In the fixed-side modes the other field is only the 4:3 guide: each photo
// keeps its own proportions ("Š." 120 makes a 3:2 photo 180 x 120).
TEST_F(OptimisationBatch, FixedSideModesKeepEachPhotosProportions) {
  Start({uitest::WritePhoto(dir.File("krajina.jpg"), 300, 200),
         uitest::WritePhoto(dir.File("siroka.jpg"), 320, 180)});
  dialog.FixedWidthRadio()->click();
  dialog.WidthEdit()->setText(QStringLiteral("120"));
  dialog.LengthEdit()->setText(QStringLiteral("160"));
  dialog.StartButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_krajina.jpg"), std::make_pair(180, 120));
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_siroka.jpg"), std::make_pair(213, 120));
}

// The batch waits after each photo until the gauge has been painted showing
// it: a batch run on the window's own thread would never see that paint.
TEST(OptimisationRepaint, TheGaugeIsPaintedPhotoByPhotoWhileTheBatchRuns) {
  lumatrim::test::PromptRecorder prompts;
  std::atomic<int> paintedValue{-1};
  std::atomic<bool> sawEveryPhoto{true};
  OptimizeDialog dialog(nullptr, [&](const std::vector<std::string>&, const lumatrim::OptimizeSettings&,
                                     const std::function<void(int)>& progress, const std::atomic<bool>&) {
    for (int done = 1; done <= 3; ++done) {
      progress(done);
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (paintedValue.load() < done && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (paintedValue.load() < done) sawEveryPhoto = false;
    }
    return lumatrim::BatchReport();
  });
  struct GaugePaints : QObject {
    std::function<void()> onPaint;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) onPaint();
      return false;
    }
  } paints;
  paints.onPaint = [&] { paintedValue = dialog.ProgressBar()->value(); };
  dialog.ProgressBar()->installEventFilter(&paints);
  QSignalSpy ended(&dialog, &OptimizeDialog::BatchEnded);
  dialog.show();
  dialog.SetSources({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")});
  dialog.TargetFolderEdit()->setText(QStringLiteral("/tmp"));
  dialog.TickOnlyPreset(QStringLiteral("Vlastní"));
  dialog.OriginalSizeRadio()->click();
  dialog.StartButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));
  EXPECT_TRUE(sawEveryPhoto) << "the gauge was not repainted while the batch ran";
}

// Five photos, the third damaged: four are written, the summary names the
// third with its reason, and only it is left for the tray.
TEST_F(OptimisationBatch, DamagedPhotoIsReportedAndTheOthersAreWritten) {
  QSignalSpy left(&dialog, &OptimizeDialog::TrayLeft);
  const std::string broken = lumatrim::test::WriteFile(dir.File("c.jpg"), "this is not a JPEG");
  Start({uitest::WritePhoto(dir.File("a.jpg"), 320, 240), uitest::WritePhoto(dir.File("b.jpg"), 320, 240), broken,
         uitest::WritePhoto(dir.File("d.jpg"), 320, 240), uitest::WritePhoto(dir.File("e.jpg"), 320, 240)});
  dialog.OriginalSizeRadio()->click();
  dialog.StartButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));

  ASSERT_EQ(prompts.errors.size(), 1);
  const QString summary = prompts.errors[0];
  EXPECT_TRUE(summary.contains(QStringLiteral("Zapsáno fotografií: 4 z 5."))) << summary.toStdString();
  EXPECT_TRUE(summary.contains(QStringLiteral("„c.jpg“: Soubor není fotografie JPEG nebo je poškozený.")))
      << summary.toStdString();
  ASSERT_EQ(left.count(), 1);
  EXPECT_EQ(left[0][0].toStringList(), QStringList{Q(broken)});
  EXPECT_EQ(completed.count(), 0);
  EXPECT_FALSE(dialog.isVisible()) << "the batch has ended";
  for (const char* name : {"a", "b", "d", "e"}) {
    EXPECT_TRUE(QFileInfo::exists(Q(target + "/opt_" + name + ".jpg"))) << name;
  }
  EXPECT_FALSE(QFileInfo::exists(Q(target + "/opt_c.jpg")));
}

// "Přerušit" in the place of "< Zpět" stops a long batch: the photos written
// stay complete, nothing else is left in the folder, the summary says how far
// it got, and the dialog is usable again for the photos that are left.
TEST_F(OptimisationBatch, InterruptStopsTheBatchAndTheDialogComesBack) {
  QSignalSpy left(&dialog, &OptimizeDialog::TrayLeft);
  std::vector<std::string> sources;
  const std::string photo = uitest::PhotoBytes(1200, 900);
  for (int i = 0; i < 60; ++i) sources.push_back(lumatrim::test::WriteFile(dir.File(std::to_string(i) + ".jpg"), photo));
  Start(sources);
  dialog.OriginalSizeRadio()->click();
  dialog.StartButton()->click();
  EXPECT_EQ(dialog.BackButton()->text(), QStringLiteral("Přerušit"));
  EXPECT_TRUE(dialog.BackButton()->isVisible() && dialog.BackButton()->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return dialog.ProgressBar()->value() >= 1; }));
  dialog.BackButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));

  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Optimalizace byla přerušena.\nZapsáno fotografií: ")))
      << prompts.messages[0].toStdString();
  const QStringList files = QDir(Q(target)).entryList(QDir::Files | QDir::Hidden);
  EXPECT_GE(files.size(), 1);
  EXPECT_LT(files.size(), 60) << "stopped part way";
  for (const QString& file : files) {
    EXPECT_TRUE(file.startsWith(QStringLiteral("opt_"))) << "left behind: " << file.toStdString();
    EXPECT_EQ(uitest::PhotoSize(target + "/" + file.toStdString()), std::make_pair(1200, 900));
  }
  ASSERT_EQ(left.count(), 1);
  EXPECT_EQ(left[0][0].toStringList().size(), 60 - files.size()) << "the tray keeps the rest";
  EXPECT_EQ(dialog.Sources(), left[0][0].toStringList());
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.BackButton()->text(), QStringLiteral("< Zpět"));
  EXPECT_TRUE(dialog.SizeGroup()->isEnabled());
  EXPECT_FALSE(dialog.ProgressBar()->isVisible());
  EXPECT_TRUE(dialog.StartButton()->isEnabled()) << "ready to go on";

  dialog.StartButton()->click();  // the rest
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 2; }));
  EXPECT_EQ(completed.count(), 1);
  EXPECT_EQ(QDir(Q(target)).entryList(QDir::Files | QDir::Hidden).size(), 60);
}

// What the user set is there again in the next dialog, also after a new start
// of the program (the settings file); the GPS box is off on a first run.
TEST(OptimisationMemory, TheNextDialogShowsTheLastSettings) {
  lumatrim::test::PromptRecorder prompts;
  {
    OptimizeDialog first;
    EXPECT_FALSE(first.RemoveGpsCheck()->isChecked());
    EXPECT_TRUE(first.TargetFolderEdit()->text().isEmpty());
    first.TargetFolderEdit()->setText(QStringLiteral("/tmp/hotové"));
    first.TickOnlyPreset(QStringLiteral("Vlastní"));
    first.CompressionSlider()->setValue(35);
    first.FixedLengthRadio()->click();
    first.LengthEdit()->setText(QStringLiteral("800"));
    first.WidthEdit()->setText(QStringLiteral("600"));
    first.RemoveGpsCheck()->setChecked(true);
    first.BackClicked();
  }
  OptimizeDialog second;
  EXPECT_EQ(second.TargetFolderEdit()->text(), QStringLiteral("/tmp/hotové"));
  EXPECT_EQ(second.CompressionSlider()->value(), 35);
  EXPECT_TRUE(second.FixedLengthRadio()->isChecked());
  EXPECT_EQ(second.WidthEdit()->text(), QStringLiteral("600"));
  EXPECT_EQ(second.LengthEdit()->text(), QStringLiteral("800"));
  EXPECT_FALSE(second.WidthEdit()->isEnabled());
  EXPECT_TRUE(second.LengthEdit()->isEnabled());
  EXPECT_TRUE(second.StartButton()->isEnabled());
  EXPECT_TRUE(second.RemoveGpsCheck()->isChecked());
  second.OriginalSizeRadio()->click();
  second.BackClicked();
  OptimizeDialog third;
  EXPECT_TRUE(third.OriginalSizeRadio()->isChecked());
  EXPECT_TRUE(third.StartButton()->isEnabled());
}

}  // namespace
