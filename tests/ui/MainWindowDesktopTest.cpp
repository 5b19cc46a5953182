// The main window as a desktop program of today: it grows and remembers its
// size, its preview never blocks and the newest selection wins, the tray
// takes the Delete key, names sort the Czech way, and it opens photos given
// on the command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "JpegBuilder.h"
#include "TiffBuilder.h"
#include "UiTestPhotos.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/preview/PhotoPreview.h"

using lumatrim::test::Ifd;
using lumatrim::test::Order;
using lumatrim::test::TiffBuilder;
using uitest::Q;

namespace {

class MainWindowDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings().remove(QLatin1String(MainWindow::kGeometryKey));
  }
  void TearDown() override {
    window.reset();
    QSettings().remove(QLatin1String(MainWindow::kGeometryKey));
  }
  MainWindow& Open() {
    window = std::make_unique<MainWindow>();
    window->SetMessageSink([this](const QString& text) { messages.push_back(text); });
    return *window;
  }
  template <typename T>
  T* Find(const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QStringList ListTexts(const char* name) {
    QStringList texts;
    auto* list = Find<QListWidget>(name);
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
  }

  uitest::WorkingFolder dir;
  std::unique_ptr<MainWindow> window;
  std::vector<QString> messages;
};

TEST_F(MainWindowDesktop, OpensAsDesignedGrowsTheAreasThatShowMoreAndRemembersItsSize) {
  uitest::WritePhoto(dir.File("a.jpg"), 1600, 1200);
  MainWindow& w = Open();
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  // At the designed size every control is where the design puts it.
  EXPECT_EQ(w.size(), QSize(653, 509));
  EXPECT_EQ(Find<QFrame>("previewPanel")->geometry(), QRect(2, 16, 200, 150));
  EXPECT_EQ(Find<QListWidget>("fileList")->geometry(), QRect(6, 220, 200, 205));
  EXPECT_EQ(Find<QListWidget>("trayList")->geometry(), QRect(6, 16, 192, 420));
  EXPECT_EQ(Find<QPushButton>("continueButton")->geometry(), QRect(560, 458, 83, 25));
  EXPECT_GE(w.minimumSize().width(), 653) << "never smaller than designed";

  Find<QListWidget>("fileList")->setCurrentRow(0);
  ASSERT_TRUE(w.Preview()->WaitUntilDecoded());
  const QSize designedPicture = w.Preview()->size();
  EXPECT_EQ(designedPicture, QSize(150, 112));

  w.resize(1200, 900);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.size() == QSize(1200, 900); }));
  const QSize box = w.PreviewBox();
  EXPECT_GT(box.width() * box.height(), 2 * 200 * 150);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.Preview()->size() != designedPicture && !w.Preview()->Decoding(); }));
  EXPECT_GT(w.Preview()->width() * w.Preview()->height(), 2 * 150 * 112) << "the photo is shown larger";
  EXPECT_EQ(Find<QLabel>("scaleLabel")->text(), w.Preview()->ScaleText());
  const QRect continueButton = Find<QPushButton>("continueButton")->geometry();
  EXPECT_EQ(continueButton.size(), QSize(83, 25)) << "buttons keep their size";
  EXPECT_EQ(w.centralWidget()->width() - continueButton.right(), 653 - (560 + 83 - 1)) << "and their corner";
  EXPECT_GT(Find<QListWidget>("trayList")->height(), 420 + 300);

  w.close();
  window.reset();
  MainWindow& again = Open();
  again.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
  EXPECT_EQ(again.size(), QSize(1200, 900)) << "the size is remembered between runs";
}

TEST_F(MainWindowDesktop, DeleteKeyRemovesTheSelectedTrayEntriesWithTheirPathsAsTips) {
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) uitest::WritePhoto(dir.File(name), 16, 16);
  MainWindow& w = Open();
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.MoveAllClicked();
  auto* tray = Find<QListWidget>("trayList");
  ASSERT_EQ(tray->count(), 3);
  EXPECT_EQ(tray->item(2)->toolTip(), Q(dir.File("c.jpg"))) << "the whole path, however narrow the tray";
  tray->setFocus();
  tray->item(0)->setSelected(true);
  tray->item(2)->setSelected(true);
  QTest::keyClick(tray, Qt::Key_Delete);
  EXPECT_EQ(ListTexts("trayList"), QStringList{Q(dir.File("b.jpg"))});
  EXPECT_TRUE(Find<QPushButton>("continueButton")->isEnabled());
  tray->item(0)->setSelected(true);
  QTest::keyClick(tray, Qt::Key_Delete);
  EXPECT_EQ(tray->count(), 0);
  EXPECT_FALSE(Find<QPushButton>("continueButton")->isEnabled());
}

TEST_F(MainWindowDesktop, FilesSortTheCzechWay) {
  for (const char* name : {"x.jpg", "d.jpg", "řeka.jpg", "č.jpg", "c.jpg", "s.jpg", "r.jpg", "Čáp.jpg", "IMG_10.jpg", "IMG_9.jpg"})
    lumatrim::test::WriteFile(dir.File(name), "x");
  Open();
  EXPECT_EQ(ListTexts("fileList").join(QLatin1Char(' ')),
            QStringLiteral("c.jpg č.jpg Čáp.jpg d.jpg IMG_9.jpg IMG_10.jpg r.jpg řeka.jpg s.jpg x.jpg"));
}

TEST_F(MainWindowDesktop, SummaryComesWithTheSelectionAndTheNewestSelectionsPreviewWins) {
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon");
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Thumbnail(uitest::CameraThumbnail(uitest::PhotoBytes(40, 30)));
  ifd0.Next(ifd1);
  uitest::WritePhoto(dir.File("a_large.jpg"), 3000, 2000, TiffBuilder(Order::Intel).Bytes(ifd0));
  uitest::WritePhoto(dir.File("b_small.jpg"), 300, 400);
  MainWindow& w = Open();
  auto* list = Find<QListWidget>("fileList");
  QStringList shown;  // every photo the preview ever put up
  QObject::connect(w.Preview(), &PhotoPreview::PhotoShown, [&] { shown << w.Preview()->DimensionsText(); });

  list->setCurrentRow(0);
  EXPECT_EQ(Find<QTableWidget>("summaryGrid")->item(0, 1)->text(), QStringLiteral("Canon")) << "before any decode";
  EXPECT_NE(Find<QLabel>("fileSizeLabel")->text(), QStringLiteral("0k"));
  EXPECT_TRUE(w.Preview()->Decoding());
  EXPECT_FALSE(w.Preview()->Picture().isNull()) << "the EXIF thumbnail stands in at once";
  EXPECT_FALSE(w.Preview()->isHidden());

  list->setCurrentRow(1);  // while the large photo is still being decoded
  ASSERT_TRUE(w.Preview()->WaitUntilDecoded());
  EXPECT_EQ(Find<QLabel>("dimensionsLabel")->text(), QStringLiteral("300 × 400"));
  EXPECT_EQ(w.Preview()->PhotoPath(), Q(dir.File("b_small.jpg")));
  EXPECT_EQ(w.Preview()->size(), QSize(112, 150));
  QTest::qWait(50);  // a late result of the superseded decode would land now
  EXPECT_EQ(Find<QLabel>("dimensionsLabel")->text(), QStringLiteral("300 × 400"));
  EXPECT_EQ(shown, QStringList{QStringLiteral("300 × 400")}) << "the superseded photo never flashes up";
  EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowDesktop, PhotosFromTheCommandLineOpenTheirFolderSelectedAndInTheTray) {
  QDir(Q(dir.Path())).mkdir(QStringLiteral("výlet"));
  const QString first = Q(uitest::WritePhoto(dir.File("výlet/b.jpg"), 32, 24));
  const QString second = Q(uitest::WritePhoto(dir.File("výlet/a.jpg"), 32, 24));
  MainWindow& w = Open();
  w.OpenPhotos({first, second, Q(dir.File("missing.jpg"))});
  EXPECT_EQ(w.ShownFolder(), Q(dir.File("výlet")));
  EXPECT_EQ(w.SelectedFile(), first);
  EXPECT_EQ(w.TrayPaths(), (QStringList{first, second}));
  EXPECT_TRUE(Find<QPushButton>("continueButton")->isEnabled());
  ASSERT_TRUE(w.Preview()->WaitUntilDecoded());
  EXPECT_EQ(Find<QLabel>("dimensionsLabel")->text(), QStringLiteral("32 × 24"));
}

}  // namespace
