// A phone's HEIF photo in the windows: listed beside JPEGs, shown as libheif
// gives it (never turned by its EXIF Orientation), its EXIF and thumbnail in
// the details, and the commands that rewrite JPEG data refused with a reason.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "TiffBuilder.h"
#include "UiTestPhotos.h"
#include "support/ExiftoolCheck.h"
#include "ui/details/DetailsWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/preview/PhotoPreview.h"

using lumatrim::test::Ifd;
using lumatrim::test::Order;
using lumatrim::test::TiffBuilder;
using uitest::Q;

TEST(HeifInTheWindows, ShownAsStoredWithItsExifAndJpegOnlyCommandsRefused) {
  if (lumatrim::test::RunCommand("command -v heif-enc 2>/dev/null").empty()) GTEST_SKIP() << "needs heif-enc";
  uitest::WorkingFolder dir;
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Apple").Short(0x0112, {6});
  const std::string jpeg = uitest::WritePhoto(dir.File("source.jpg"), 64, 48, TiffBuilder(Order::Motorola).Bytes(ifd0));
  lumatrim::test::RunCommand("heif-enc -t 32 -o " + dir.File("phone.HEIC") + " " + jpeg + " >/dev/null 2>&1");
  QFile::remove(Q(jpeg));
  for (const char* other : {"b.HIF", "c.jpe", "d.png"}) lumatrim::test::WriteFile(dir.File(other), "not read");

  MainWindow form;
  auto* fileList = form.findChild<QListWidget*>(QStringLiteral("fileList"));
  ASSERT_EQ(fileList->count(), 3) << "the names the folder scan takes, in any letter case";
  ASSERT_EQ(fileList->item(2)->text(), QStringLiteral("phone.HEIC"));
  QTest::mouseClick(fileList->viewport(), Qt::LeftButton, {}, fileList->visualItemRect(fileList->item(2)).center());
  ASSERT_TRUE(form.Preview()->WaitUntilDecoded());
  EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("dimensionsLabel"))->text(), QStringLiteral("64 × 48"));
  EXPECT_EQ(form.findChild<QTableWidget*>(QStringLiteral("summaryGrid"))->item(0, 1)->text(), QStringLiteral("Apple"));
  for (const char* name : {"rotateLeftButton", "rotateRightButton"}) {
    auto* button = form.findChild<QPushButton*>(QLatin1String(name));
    EXPECT_FALSE(button->isEnabled()) << name;
    EXPECT_EQ(button->toolTip(), QStringLiteral("Otočení bez ztráty kvality je možné jen u JPEG")) << name;
  }

  DetailsWindow details(Q(dir.File("phone.HEIC")));
  EXPECT_EQ(details.findChild<QLabel*>(QStringLiteral("thumbnailSizeLabel"))->text(), QStringLiteral("Miniatura (32 x 24)"));
  for (QPushButton* button : {details.SaveIptcButton(), details.RemoveExifButton(), details.RemoveGpsButton()}) {
    EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_TRUE(button->toolTip().endsWith(QStringLiteral("je možné jen u JPEG"))) << button->text().toStdString();
  }
}
