// The folder chooser and the detail window open as designed and, made
// larger, give the room to the tree and the grids; their buttons keep to
// their corners.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "ui/details/DetailsWindow.h"
#include "ui/targetfolder/TargetFolderDialog.h"

namespace {

// Distance of a child's bottom-right corner from its window's.
QSize CornerGap(const QWidget* child) {
  const QRect r = child->geometry();
  return {child->parentWidget()->width() - r.right(), child->parentWidget()->height() - r.bottom()};
}

TEST(DialogGrowth, FolderChooserGrowsItsTree) {
  TargetFolderDialog chooser(nullptr, nullptr);
  chooser.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chooser));
  auto* tree = chooser.findChild<QTreeView*>(QStringLiteral("folderTree"));
  auto* ok = chooser.findChild<QPushButton*>(QStringLiteral("okButton"));
  ASSERT_TRUE(tree && ok);
  EXPECT_EQ(chooser.size(), QSize(480, 400));
  EXPECT_EQ(tree->geometry(), QRect(8, 38, 464, 318)) << "as designed";
  const QSize okGap = CornerGap(ok);
  chooser.resize(600, 700);
  ASSERT_TRUE(QTest::qWaitFor([&] { return chooser.size() == QSize(600, 700); }));
  EXPECT_EQ(tree->size(), QSize(464 + 120, 318 + 300));
  EXPECT_EQ(CornerGap(ok), okGap);
  EXPECT_EQ(ok->size(), QSize(75, 25));
}

TEST(DialogGrowth, DetailWindowGrowsItsTagTableAndRemembersItsSize) {
  lumatrim::test::TempDir dir;
  const QString photo = QString::fromStdString(uitest::WritePhoto(dir.File("a.jpg"), 32, 24));
  DetailsWindow window(photo);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.size(), QSize(385, 453));
  EXPECT_EQ(window.Tabs()->geometry(), QRect(0, 0, 385, 409));
  EXPECT_EQ(window.GeneralGrid()->geometry(), QRect(2, 19, 364, 166));
  const QSize closeGap = CornerGap(window.CloseButton());
  const QSize general = window.GeneralGrid()->size(), maker = window.MakerGrid()->size();

  window.resize(785, 853);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.size() == QSize(785, 853); }));
  EXPECT_EQ(window.GeneralGrid()->size(), general + QSize(400, 400)) << "the tag table takes the height";
  EXPECT_EQ(window.MakerGrid()->size(), maker + QSize(400, 0));
  EXPECT_EQ(CornerGap(window.CloseButton()), closeGap);
  window.Tabs()->setCurrentWidget(window.IptcTab());
  EXPECT_EQ(window.IptcGrid()->size(), QSize(364 + 400, 321 + 400));
  window.CloseClicked();
  EXPECT_EQ(DetailsWindow(photo).size(), QSize(785, 853)) << "opens again at the size it was left at";
}

}  // namespace
