// The optimisation dialog: the 4:3 auto-fill, the state of "Optimalizovat",
// switching the size modes, and real batches: photos made here are optimised
// into a target folder; a damaged one in the middle stops the batch.
#include <gtest/gtest.h>

#include <QApplication>
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

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

class OptimisationDialog : public ::testing::Test {
 protected:
  void SetUp() override {
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
  OptimizeDialog dialog{nullptr, [](const BatchSettings&, const std::function<void(int)>&) {
                     ADD_FAILURE() << "the batch must not start";
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


class OptimisationBatch : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& sources) {
    ASSERT_TRUE(QDir().mkpath(Q(target)));
    dialog.show();
    QStringList paths;
    for (const std::string& path : sources) paths << Q(path);
    dialog.SetSources(paths);
    dialog.TargetFolderEdit()->setText(Q(target));
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
  EXPECT_FALSE(dialog.BackButton()->isVisible()) << "no way back while it runs";
  EXPECT_FALSE(dialog.SizeGroup()->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));

  EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Optimalizace byla úspěšně dokončena.")});
  EXPECT_EQ(completed.count(), 1);
  EXPECT_EQ(dialog.ProgressBar()->value(), 2);
  EXPECT_GE(progress.count(), 2) << "the gauge moved photo by photo";
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_krajina.jpg"), std::make_pair(200, 120));
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_portrét.JPG"), std::make_pair(120, 200));
}

// The batch waits after each photo until the gauge has been painted showing
// it: a batch run on the window's own thread would never see that paint.
TEST(OptimisationRepaint, TheGaugeIsPaintedPhotoByPhotoWhileTheBatchRuns) {
  lumatrim::test::PromptRecorder prompts;
  std::atomic<int> paintedValue{-1};
  std::atomic<bool> sawEveryPhoto{true};
  OptimizeDialog dialog(nullptr, [&](const BatchSettings&, const std::function<void(int)>& progress) {
    for (int done = 1; done <= 3; ++done) {
      progress(done);
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (paintedValue.load() < done && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (paintedValue.load() < done) sawEveryPhoto = false;
    }
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
  dialog.OriginalSizeRadio()->click();
  dialog.StartButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));
  EXPECT_TRUE(sawEveryPhoto) << "the gauge was not repainted while the batch ran";
}

TEST_F(OptimisationBatch, DamagedPhotoStopsTheBatchAndTheDialogStays) {
  const std::string broken = lumatrim::test::WriteFile(dir.File("b.jpg"), "this is not a JPEG");
  Start({uitest::WritePhoto(dir.File("a.jpg"), 320, 240), broken, uitest::WritePhoto(dir.File("c.jpg"), 320, 240)});
  dialog.OriginalSizeRadio()->click();
  dialog.StartButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));

  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("Optimalizace se nezdařila.")));
  EXPECT_TRUE(prompts.errors[0].contains(Q(broken))) << prompts.errors[0].toStdString();
  EXPECT_EQ(completed.count(), 0);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.BackButton()->isVisible());
  EXPECT_FALSE(dialog.ProgressBar()->isVisible());
  EXPECT_TRUE(dialog.SizeGroup()->isEnabled());
  EXPECT_TRUE(dialog.StartButton()->isEnabled()) << "ready to start again";
  EXPECT_TRUE(QFileInfo::exists(Q(target + "/opt_a.jpg"))) << "photos before the failure stay";
  EXPECT_FALSE(QFileInfo::exists(Q(target + "/opt_b.jpg")));
  EXPECT_FALSE(QFileInfo::exists(Q(target + "/opt_c.jpg"))) << "none after it is written";
}

}  // namespace
