// The optimisation dialog over the real batch engine: photos made here are
// optimised into a target folder; a damaged one in the middle stops the batch.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include "support/JpegBuilder.h"
#include "test_dialogs_photos.h"
#include "test_dialogs_support.h"
#include "ui/optimal/FormOpti.h"

using lumatrim::test::PromptRecorder;
using lumatrim::test::TempDir;
using lumatrim::test::WaitUntil;


namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }


}  // namespace

TEST(OptimisationBatch, RealPhotosAreWrittenAndTheDialogCloses) {
  TempDir dir;
  const std::string landscape = lumatrim::test::MakePhoto(dir.File("krajina.jpg"), 640, 480);
  const std::string portrait = lumatrim::test::MakePhoto(dir.File("portrét.JPG"), 300, 500);
  const std::string target = dir.File("cíl");
  ASSERT_TRUE(QDir().mkpath(Q(target)));

  PromptRecorder prompts;
  TFormOpti dialog;
  QSignalSpy completed(&dialog, &TFormOpti::BatchCompleted);
  QSignalSpy progress(dialog.Gauge, &QProgressBar::valueChanged);
  dialog.show();
  dialog.ListZdroj->addItem(Q(landscape));
  dialog.ListZdroj->addItem(Q(portrait));
  dialog.EditCil->setText(Q(target));
  dialog.RadVlast->click();
  dialog.EditSir->setText(QStringLiteral("120"));
  dialog.EditDel->setText(QStringLiteral("200"));
  ASSERT_TRUE(dialog.ButProces->isEnabled());
  dialog.ButProces->click();
  EXPECT_FALSE(dialog.ButZav->isVisible());
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));

  EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Optimalizace byla úspěšně dokončena.")});
  EXPECT_EQ(completed.count(), 1);
  EXPECT_EQ(dialog.Gauge->value(), 2);
  EXPECT_GE(progress.count(), 2) << "the gauge moved photo by photo";
  EXPECT_EQ(lumatrim::test::PhotoSize(target + "/opt_krajina.jpg"), std::make_pair(200, 120));
  EXPECT_EQ(lumatrim::test::PhotoSize(target + "/opt_portrét.JPG"), std::make_pair(120, 200));
}

TEST(OptimisationBatch, DamagedPhotoStopsTheBatchAndTheDialogStays) {
  TempDir dir;
  const std::string first = lumatrim::test::MakePhoto(dir.File("a.jpg"), 320, 240);
  const std::string broken = lumatrim::test::WriteFile(dir.File("b.jpg"), "this is not a JPEG");
  const std::string last = lumatrim::test::MakePhoto(dir.File("c.jpg"), 320, 240);
  const std::string target = dir.File("out");
  ASSERT_TRUE(QDir().mkpath(Q(target)));

  PromptRecorder prompts;
  TFormOpti dialog;
  QSignalSpy completed(&dialog, &TFormOpti::BatchCompleted);
  QSignalSpy ended(&dialog, &TFormOpti::BatchEnded);
  dialog.show();
  for (const std::string& path : {first, broken, last}) dialog.ListZdroj->addItem(Q(path));
  dialog.EditCil->setText(Q(target));
  dialog.RadPuvod->click();
  dialog.ButProces->click();
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));

  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("Optimalizace se nezdařila.")));
  EXPECT_TRUE(prompts.errors[0].contains(Q(broken))) << prompts.errors[0].toStdString();
  EXPECT_EQ(completed.count(), 0);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.ButZav->isVisible());
  EXPECT_TRUE(dialog.ButProces->isEnabled());
  EXPECT_EQ(dialog.ListZdroj->count(), 3);
  EXPECT_TRUE(QFileInfo::exists(Q(target + "/opt_a.jpg"))) << "photos before the failure stay";
  EXPECT_FALSE(QFileInfo::exists(Q(target + "/opt_b.jpg")));
  EXPECT_FALSE(QFileInfo::exists(Q(target + "/opt_c.jpg"))) << "none after it is written";
}
