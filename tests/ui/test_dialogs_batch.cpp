// The optimisation dialog over the real batch engine: photos made here are
// optimised into a target folder; a damaged one in the middle stops the batch.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "ui/optimal/FormOpti.h"

using lumatrim::test::WaitUntil;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

class OptimisationBatch : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& sources) {
    ASSERT_TRUE(QDir().mkpath(Q(target)));
    dialog.show();
    for (const std::string& path : sources) dialog.ListZdroj->addItem(Q(path));
    dialog.EditCil->setText(Q(target));
  }
  lumatrim::test::TempDir dir;
  const std::string target = dir.File("cíl");
  lumatrim::test::PromptRecorder prompts;
  TFormOpti dialog;
  QSignalSpy completed{&dialog, &TFormOpti::BatchCompleted};
  QSignalSpy ended{&dialog, &TFormOpti::BatchEnded};
};

TEST_F(OptimisationBatch, RealPhotosAreWrittenAndTheDialogCloses) {
  Start({uitest::WritePhoto(dir.File("krajina.jpg"), 640, 480), uitest::WritePhoto(dir.File("portrét.JPG"), 300, 500)});
  QSignalSpy progress(dialog.Gauge, &QProgressBar::valueChanged);
  dialog.RadVlast->click();
  dialog.EditSir->setText(QStringLiteral("120"));
  dialog.EditDel->setText(QStringLiteral("200"));
  dialog.ButProces->click();
  EXPECT_FALSE(dialog.ButZav->isVisible()) << "no way back while it runs";
  EXPECT_FALSE(dialog.GroupVel->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));

  EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Optimalizace byla úspěšně dokončena.")});
  EXPECT_EQ(completed.count(), 1);
  EXPECT_EQ(dialog.Gauge->value(), 2);
  EXPECT_GE(progress.count(), 2) << "the gauge moved photo by photo";
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_krajina.jpg"), std::make_pair(200, 120));
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_portrét.JPG"), std::make_pair(120, 200));
}

TEST_F(OptimisationBatch, DamagedPhotoStopsTheBatchAndTheDialogStays) {
  const std::string broken = lumatrim::test::WriteFile(dir.File("b.jpg"), "this is not a JPEG");
  Start({uitest::WritePhoto(dir.File("a.jpg"), 320, 240), broken, uitest::WritePhoto(dir.File("c.jpg"), 320, 240)});
  dialog.RadPuvod->click();
  dialog.ButProces->click();
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));

  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("Optimalizace se nezdařila.")));
  EXPECT_TRUE(prompts.errors[0].contains(Q(broken))) << prompts.errors[0].toStdString();
  EXPECT_EQ(completed.count(), 0);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.ButZav->isVisible());
  EXPECT_FALSE(dialog.Gauge->isVisible());
  EXPECT_TRUE(dialog.GroupVel->isEnabled());
  EXPECT_TRUE(dialog.ButProces->isEnabled()) << "ready to start again";
  EXPECT_TRUE(QFileInfo::exists(Q(target + "/opt_a.jpg"))) << "photos before the failure stay";
  EXPECT_FALSE(QFileInfo::exists(Q(target + "/opt_b.jpg")));
  EXPECT_FALSE(QFileInfo::exists(Q(target + "/opt_c.jpg"))) << "none after it is written";
}

}  // namespace
