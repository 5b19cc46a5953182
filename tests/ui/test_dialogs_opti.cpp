// The optimisation dialog: size modes, the 4:3 auto-fill, the state of
// "Optimalizovat", the ways out and the dialog's states around a batch.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "core/bytes/Error.h"
#include "test_dialogs_support.h"
#include "ui/optimal/FormOpti.h"

using lumatrim::test::PromptRecorder;
using lumatrim::test::WaitUntil;

namespace {

void NoBatch(const OptiBatchSettings&, const std::function<void(int)>&) {
  ADD_FAILURE() << "the batch must not start";
}

// Shows the dialog as the active window so typing has the focus it needs.
void ShowActive(TFormOpti& dialog) {
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// Replaces the edit's text by typing, as a user would.
void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  ASSERT_TRUE(edit->hasFocus());
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

}  // namespace

TEST(OptimisationDialog, FixedSideModesFillTheOtherSideAt4To3) {
  TFormOpti dialog(nullptr, NoBatch);
  ShowActive(dialog);
  struct Case {
    QRadioButton* mode;
    QLineEdit* typed;
    QLineEdit* filled;
    const char* text;
    const char* expected;
    bool enabled;
  };
  const Case cases[] = {
      {dialog.RadSirka, dialog.EditSir, dialog.EditDel, "600", "800", true},
      {dialog.RadSirka, dialog.EditSir, dialog.EditDel, "1024", "1365", true},  // 1365.33
      {dialog.RadSirka, dialog.EditSir, dialog.EditDel, "1", "1", true},        // 1.33
      {dialog.RadSirka, dialog.EditSir, dialog.EditDel, "0", "0", false},
      {dialog.RadSirka, dialog.EditSir, dialog.EditDel, "", "0", false},
      {dialog.RadDelka, dialog.EditDel, dialog.EditSir, "800", "600", true},
      {dialog.RadDelka, dialog.EditDel, dialog.EditSir, "6", "4", true},    // 4.5 to even
      {dialog.RadDelka, dialog.EditDel, dialog.EditSir, "10", "8", true},   // 7.5 to even
      {dialog.RadDelka, dialog.EditDel, dialog.EditSir, "14", "10", true},  // 10.5 to even
      {dialog.RadDelka, dialog.EditDel, dialog.EditSir, "1", "1", true},    // 0.75
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mode->objectName().toStdString()) + " typing '" + c.text + "'");
    c.mode->click();
    Type(c.typed, QString::fromLatin1(c.text));
    EXPECT_EQ(c.filled->text(), QString::fromLatin1(c.expected));
    EXPECT_EQ(dialog.ButProces->isEnabled(), c.enabled);
  }
}

TEST(OptimisationDialog, ModeSwitchingFollowsTheTable) {
  TFormOpti dialog(nullptr, NoBatch);
  ShowActive(dialog);
  {
    SCOPED_TRACE("design state");
    EXPECT_TRUE(dialog.RadSirka->isChecked());
    EXPECT_TRUE(dialog.EditSir->isEnabled());
    EXPECT_FALSE(dialog.EditDel->isEnabled());
    EXPECT_EQ(dialog.EditSir->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.EditDel->text(), QStringLiteral("0"));
    EXPECT_FALSE(dialog.ButProces->isEnabled());
    EXPECT_FALSE(dialog.Gauge->isVisible());
  }
  struct Row {
    QRadioButton* mode;
    bool sir, del, proces;
  };
  const Row rows[] = {{dialog.RadPuvod, false, false, true},
                      {dialog.RadSirka, true, false, false},
                      {dialog.RadVlast, true, true, false},
                      {dialog.RadDelka, false, true, false},
                      {dialog.RadPuvod, false, false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode->text().toStdString());
    if (dialog.EditSir->isEnabled()) Type(dialog.EditSir, QStringLiteral("640"));
    if (dialog.EditDel->isEnabled()) Type(dialog.EditDel, QStringLiteral("480"));
    row.mode->click();
    EXPECT_EQ(dialog.EditSir->isEnabled(), row.sir);
    EXPECT_EQ(dialog.EditDel->isEnabled(), row.del);
    EXPECT_EQ(dialog.EditSir->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.EditDel->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.ButProces->isEnabled(), row.proces);
  }
}

TEST(OptimisationDialog, FreeModeNeedsBothSidesAndNothingFillsItself) {
  TFormOpti dialog(nullptr, NoBatch);
  ShowActive(dialog);
  dialog.RadVlast->click();
  {
    SCOPED_TRACE("one side typed: still disabled, the other side untouched");
    Type(dialog.EditSir, QStringLiteral("800"));
    EXPECT_EQ(dialog.EditDel->text(), QStringLiteral("0"));
    EXPECT_FALSE(dialog.ButProces->isEnabled());
  }
  {
    SCOPED_TRACE("both sides typed");
    Type(dialog.EditDel, QStringLiteral("600"));
    EXPECT_EQ(dialog.EditSir->text(), QStringLiteral("800"));
    EXPECT_TRUE(dialog.ButProces->isEnabled());
  }
  {
    SCOPED_TRACE("a side emptied again");
    Type(dialog.EditDel, QString());
    EXPECT_FALSE(dialog.ButProces->isEnabled());
    Type(dialog.EditDel, QStringLiteral("000"));
    EXPECT_FALSE(dialog.ButProces->isEnabled());
  }
}

TEST(OptimisationDialog, SidesAcceptDigitsOnlyAndProgramTextNeverFills) {
  TFormOpti dialog(nullptr, NoBatch);
  ShowActive(dialog);
  {
    SCOPED_TRACE("sign, letters and fractions are refused while typing");
    Type(dialog.EditSir, QStringLiteral("-6a0,5"));
    EXPECT_EQ(dialog.EditSir->text(), QStringLiteral("605"));
    EXPECT_EQ(dialog.EditDel->text(), QStringLiteral("807"));  // 806.67
  }
  {
    SCOPED_TRACE("text set by the program: no auto-fill");
    dialog.ButProces->setFocus();
    dialog.EditSir->setText(QStringLiteral("300"));
    EXPECT_EQ(dialog.EditDel->text(), QStringLiteral("807"));
  }
  {
    SCOPED_TRACE("the compression label follows the track");
    EXPECT_EQ(dialog.Track->value(), 20);
    EXPECT_EQ(dialog.LabTrack->text(), QStringLiteral("20"));
    dialog.Track->setValue(57);
    EXPECT_EQ(dialog.LabTrack->text(), QStringLiteral("57"));
  }
}

TEST(OptimisationDialog, CanBeLeftOnlyThroughBack) {
  TFormOpti dialog(nullptr, NoBatch);
  ShowActive(dialog);
  EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(dialog.close()) << "window manager close";
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible()) << "Esc";
  dialog.ButZav->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(OptimisationDialog, LayoutFitsTheFixedWindow) {
  TFormOpti dialog(nullptr, NoBatch);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Optimalizace"));
  EXPECT_EQ(dialog.size(), QSize(385, 199));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(dialog.font().pointSize(), 8);
  EXPECT_EQ(dialog.EditCil->parentWidget(), dialog.GroupUloz);
  EXPECT_EQ(dialog.Track->parentWidget(), dialog.GroupKom);
  EXPECT_EQ(dialog.RadPuvod->parentWidget(), dialog.GroupVel);
  EXPECT_EQ(dialog.ButCil->text(), QStringLiteral("..."));
  EXPECT_EQ(dialog.ButZav->text(), QStringLiteral("< Zpět"));
  EXPECT_EQ(dialog.ButProces->text(), QStringLiteral("Optimalizovat"));
  EXPECT_EQ(dialog.Track->minimum(), 0);
  EXPECT_EQ(dialog.Track->maximum(), 100);
  EXPECT_FALSE(dialog.ListZdroj->isVisibleTo(&dialog));
  // Every visible control lies inside the window and inside its group, and
  // every caption fits its control at 8 pt (no clipped Czech text).
  for (QWidget* child : dialog.findChildren<QWidget*>()) {
    if (child->objectName().isEmpty() || !child->isVisibleTo(&dialog)) continue;
    SCOPED_TRACE(child->objectName().toStdString());
    const QRect inWindow(child->mapTo(&dialog, QPoint(0, 0)), child->size());
    EXPECT_TRUE(dialog.rect().contains(inWindow));
    EXPECT_TRUE(child->parentWidget()->rect().contains(child->geometry()));
    if (auto* radio = qobject_cast<QRadioButton*>(child)) {
      EXPECT_LE(radio->sizeHint().width(), radio->width());
    }
    if (auto* button = qobject_cast<QPushButton*>(child)) {
      EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4);
    }
  }
  EXPECT_LE(dialog.Label8->heightForWidth(dialog.Label8->width()), dialog.Label8->height());
}

TEST(OptimisationDialog, EmptyTargetStopsBeforeTheBatch) {
  PromptRecorder prompts;
  TFormOpti dialog(nullptr, NoBatch);
  dialog.ListZdroj->addItem(QStringLiteral("/a/b.jpg"));
  dialog.RadPuvod->click();
  dialog.ButProcesClick();
  EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Zadejte cestu k uložení!")});
  EXPECT_FALSE(dialog.BatchRunning());
  EXPECT_TRUE(dialog.ButZav->isVisibleTo(&dialog));
  EXPECT_TRUE(dialog.GroupVel->isEnabled());
}

// A batch that waits for the test between photos, so the running state can be seen.
struct SteppedBatch {
  std::mutex mutex;
  std::condition_variable wake;
  int allowed = 0;
  std::atomic<int> started{0};
  bool fail = false;
  OptiBatchSettings seen;

  OptiBatchFunction Function() {
    return [this](const OptiBatchSettings& settings, const std::function<void(int)>& progress) {
      seen = settings;
      for (int i = 0; i < settings.Sources.size(); ++i) {
        started = i + 1;
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return allowed > i; });
        if (fail && i == 1) throw lumatrim::LumatrimError("Soubor /a/2.jpg není čitelný obrázek JPEG.");
        progress(i + 1);
      }
    };
  }
  void Allow(int n) {
    std::lock_guard lock(mutex);
    allowed = n;
    wake.notify_all();
  }
};

TEST(OptimisationDialog, RunningBatchAndItsSuccessfulEnd) {
  PromptRecorder prompts;
  SteppedBatch batch;
  TFormOpti dialog(nullptr, batch.Function());
  QSignalSpy completed(&dialog, &TFormOpti::BatchCompleted);
  ShowActive(dialog);
  for (const char* path : {"/a/1.jpg", "/a/2.jpg", "/a/3.jpg"}) dialog.ListZdroj->addItem(QString::fromLatin1(path));
  dialog.EditCil->setText(QStringLiteral("/cil"));
  Type(dialog.EditSir, QStringLiteral("600"));
  dialog.Track->setValue(35);
  dialog.ButProces->click();

  ASSERT_TRUE(WaitUntil([&] { return batch.started >= 1; }));
  {
    SCOPED_TRACE("while running");
    EXPECT_TRUE(dialog.BatchRunning());
    EXPECT_TRUE(dialog.Gauge->isVisible());
    EXPECT_EQ(dialog.Gauge->maximum(), 3);
    EXPECT_EQ(dialog.Gauge->value(), 0);
    EXPECT_FALSE(dialog.ButZav->isVisible());
    EXPECT_FALSE(dialog.GroupUloz->isEnabled());
    EXPECT_FALSE(dialog.GroupKom->isEnabled());
    EXPECT_FALSE(dialog.GroupVel->isEnabled());
    EXPECT_FALSE(dialog.ButProces->isEnabled());
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
  }
  batch.Allow(2);
  ASSERT_TRUE(WaitUntil([&] { return dialog.Gauge->value() == 2; })) << "the gauge advances per photo";
  EXPECT_TRUE(dialog.isVisible());
  batch.Allow(3);
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));

  EXPECT_EQ(batch.seen.Sources, (QStringList{"/a/1.jpg", "/a/2.jpg", "/a/3.jpg"}));
  EXPECT_EQ(batch.seen.TargetFolder, QStringLiteral("/cil"));
  EXPECT_EQ(batch.seen.Compression, 35);
  EXPECT_EQ(batch.seen.ShortSide, 600);
  EXPECT_EQ(batch.seen.LongSide, 800);
  EXPECT_FALSE(batch.seen.KeepSize);
  EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Optimalizace byla úspěšně dokončena.")});
  EXPECT_EQ(completed.count(), 1);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(OptimisationDialog, FailedBatchLeavesTheDialogUsable) {
  PromptRecorder prompts;
  SteppedBatch batch;
  batch.fail = true;
  TFormOpti dialog(nullptr, batch.Function());
  QSignalSpy completed(&dialog, &TFormOpti::BatchCompleted);
  QSignalSpy ended(&dialog, &TFormOpti::BatchEnded);
  ShowActive(dialog);
  for (const char* path : {"/a/1.jpg", "/a/2.jpg", "/a/3.jpg"}) dialog.ListZdroj->addItem(QString::fromLatin1(path));
  dialog.EditCil->setText(QStringLiteral("/cil"));
  dialog.RadPuvod->click();
  dialog.ButProces->click();
  batch.Allow(3);
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));

  EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("Soubor /a/2.jpg není čitelný obrázek JPEG.")});
  EXPECT_EQ(completed.count(), 0);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.BatchRunning());
  EXPECT_TRUE(dialog.ButZav->isVisible());
  EXPECT_FALSE(dialog.Gauge->isVisible());
  EXPECT_TRUE(dialog.GroupUloz->isEnabled());
  EXPECT_TRUE(dialog.GroupKom->isEnabled());
  EXPECT_TRUE(dialog.GroupVel->isEnabled());
  EXPECT_TRUE(dialog.ButProces->isEnabled()) << "keep-size mode: ready to start again";
  EXPECT_TRUE(dialog.RadPuvod->isChecked());
  dialog.ButZav->click();
  EXPECT_FALSE(dialog.isVisible());
}
