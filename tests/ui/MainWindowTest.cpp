#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <functional>
#include <QDrag>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>

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

std::string CameraExif(bool withIso) {
  Ifd exif;
  exif.Rational(0x829A, {{1, 125}}).Rational(0x829D, {{28, 10}}).Short(0x8822, {2}).Short(0x9207, {5});
  exif.Short(0x9209, {0}).Rational(0x920A, {{50, 1}});
  if (withIso) exif.Short(0x8827, {200});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 5D").Ascii(0x0131, "Lumatrim test");
  ifd0.Ascii(0x0132, "2024:05:01 10:20:30").SubIfd(0x8769, exif);
  return TiffBuilder(Order::Intel).Bytes(ifd0);
}

// A folder of photos and the window started in it, as a user starts it.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::WritePhoto(dir.File("a.jpg"), 64, 48, CameraExif(true));
    uitest::WritePhoto(dir.File("B.JPG"), 48, 64, CameraExif(false), 1);
    uitest::WritePhoto(dir.File("c.jpeg"), 32, 32);
    lumatrim::test::WriteFile(dir.File("d.png"), "not listed");
    lumatrim::test::WriteFile(dir.File("notes.txt"), "not listed");
    QDir(Q(dir.Path())).mkdir(QStringLiteral("sub"));
    form = std::make_unique<MainWindow>();
    form->SetMessageSink([this](const QString& text) { messages.push_back(text); });
    fileList = Find<QListWidget>("fileList");
    tray = Find<QListWidget>("trayList");
    continueButton = Find<QPushButton>("continueButton");
  }

  template <typename T>
  T* Find(const char* name) {
    T* widget = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  QString Summary(int row) { return Find<QTableWidget>("summaryGrid")->item(row, 1)->text(); }
  // As the user does it: a click, which moves the current row before it
  // selects; then the worker's decode is waited for.
  void Select(int row) {
    QListWidgetItem* item = fileList->item(row);
    fileList->scrollToItem(item);
    QTest::mouseClick(fileList->viewport(), Qt::LeftButton, {}, fileList->visualItemRect(item).center());
    ASSERT_TRUE(form->Preview()->WaitUntilDecoded());
  }

  uitest::WorkingFolder dir;
  std::unique_ptr<MainWindow> form;
  std::vector<QString> messages;
  QListWidget* fileList = nullptr;
  QListWidget* tray = nullptr;
  QPushButton* continueButton = nullptr;
};

TEST_F(MainWindowTest, TrayAddAndRemoveRulesDriveTheContinueButton) {
  const QString top = Q(dir.Path()), sub = Q(dir.File("sub"));
  struct Step {
    const char* what;
    std::function<void()> act;
    int count;
    bool enabled;
  } steps[] = {
      {"double click, nothing selected", [&] { form->FileDoubleClicked(); }, 0, false},
      {"empty list", [&] { form->ShowFolder(sub); form->MoveAllClicked(); form->FileDoubleClicked(); }, 0, false},
      {"the same file twice", [&] { form->ShowFolder(top); Select(0); form->FileDoubleClicked(); form->FileDoubleClicked(); }, 2, true},
      {"none selected in the tray", [&] { tray->clearSelection(); form->RemoveFromTrayChosen(); }, 2, true},
      {"one removed", [&] { tray->setCurrentRow(1); form->RemoveFromTrayChosen(); }, 1, true},
      {"the last removed", [&] { tray->setCurrentRow(0); form->RemoveFromTrayChosen(); }, 0, false},
      {"all removed", [&] { form->FileDoubleClicked(); form->ClearTrayChosen(); }, 0, false},
      {"empty list, one entry", [&] { form->FileDoubleClicked(); form->ShowFolder(sub); form->MoveAllClicked(); }, 1, true},
      {"a finished batch", [&] { form->EmptyTrayAfterBatch(); }, 0, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(tray->count(), step.count);
    EXPECT_EQ(continueButton->isEnabled(), step.enabled);
  }
}

TEST_F(MainWindowTest, ListsOnlyJpegFilesAndF5AddsTheSelectedOne) {
  const QStringList names{QStringLiteral("a.jpg"), QStringLiteral("B.JPG"), QStringLiteral("c.jpeg")};
  for (int row = 0; row < fileList->count(); ++row) EXPECT_EQ(fileList->item(row)->text(), names.value(row));
  EXPECT_EQ(fileList->count(), 3);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->activateWindow();
  fileList->setFocus();
  QTest::keyClick(fileList, Qt::Key_F5);
  EXPECT_EQ(tray->count(), 0) << "nothing selected";
  Select(1);
  QTest::keyClick(fileList, Qt::Key_F5);
  ASSERT_EQ(tray->count(), 1);
  EXPECT_EQ(tray->item(0)->text(), Q(dir.File("B.JPG")));
}

TEST_F(MainWindowTest, MoveAllAppendsEveryFileAndKeepsThePreviousPreview) {
  Select(0);
  ASSERT_EQ(Text("dimensionsLabel"), QStringLiteral("64 × 48"));
  form->FileDoubleClicked();
  form->MoveAllClicked();
  QStringList expected{Q(dir.File("a.jpg")), Q(dir.File("a.jpg")), Q(dir.File("B.JPG")), Q(dir.File("c.jpeg"))};
  EXPECT_EQ(form->TrayPaths(), expected);
  EXPECT_TRUE(continueButton->isEnabled());
  EXPECT_EQ(fileList->currentRow(), 2) << "the last file ends selected";
  EXPECT_EQ(Text("dimensionsLabel"), QStringLiteral("64 × 48")) << "but the preview still shows the first";
}

TEST_F(MainWindowTest, DragStartsOnlyWithExactlyTheLeftButton) {
  std::vector<QString> dragged;
  form->SetDragExecutor([&](QDrag* drag) { dragged.push_back(drag->mimeData()->text()); });
  QWidget* viewport = fileList->viewport();
  auto move = [&](Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
    uitest::SendMouse(viewport, QEvent::MouseMove, {20, 5}, Qt::NoButton, buttons, keys);
  };
  move(Qt::LeftButton, Qt::NoModifier);
  EXPECT_TRUE(dragged.empty()) << "no file selected";

  Select(1);
  const std::pair<Qt::MouseButtons, Qt::KeyboardModifiers> refused[] = {
      {Qt::LeftButton, Qt::ShiftModifier},  {Qt::LeftButton, Qt::ControlModifier}, {Qt::LeftButton, Qt::AltModifier},
      {Qt::LeftButton | Qt::RightButton, {}}, {Qt::RightButton, {}},                 {Qt::NoButton, {}}};
  for (auto [buttons, keys] : refused) {
    move(buttons, keys);
    EXPECT_TRUE(dragged.empty()) << buttons.toInt() << " " << keys.toInt();
  }
  move(Qt::LeftButton, Qt::NoModifier);
  ASSERT_EQ(dragged.size(), 1u) << "the first move with the left button starts it";
  EXPECT_EQ(dragged[0], Q(dir.File("B.JPG")));

  // The drop appends the path stored when the drag began.
  Select(2);
  form->FileDroppedOnTray();
  EXPECT_EQ(form->TrayPaths(), QStringList{Q(dir.File("B.JPG"))});
  EXPECT_TRUE(continueButton->isEnabled());
}

TEST_F(MainWindowTest, SelectingAPhotoFillsPreviewLabelsAndSummary) {
  Select(0);
  EXPECT_EQ(Text("dimensionsLabel"), QStringLiteral("64 × 48"));
  EXPECT_EQ(Text("scaleLabel"), QStringLiteral("100%"));
  EXPECT_TRUE(Find<QPushButton>("detailsButton")->isEnabled());
  // In Czech, as photographers write it; "Vytvořeno" from the EXIF block in black.
  const char* expected[] = {"Canon", "Canon EOS 5D", "---", "Nevyblesklo", "50 mm", "1/125 s", "f/2,8", "ISO 200",
                            "Normální program", "Maticové", "Lumatrim test", "1. 5. 2024 10:20:30"};
  for (int row = 0; row < 12; ++row) EXPECT_EQ(Summary(row), QString::fromUtf8(expected[row])) << row;
  const auto* grid = Find<QTableWidget>("summaryGrid");
  EXPECT_NE(grid->item(11, 1)->foreground().color(), QColor(Qt::gray));

  Select(1);  // no ISO value
  EXPECT_EQ(Summary(7), QStringLiteral("---"));
  EXPECT_EQ(Text("dimensionsLabel"), QStringLiteral("48 × 64")) << "the clicked photo, not the previous one";

  Select(2);  // no EXIF at all: empty values, the file's date in grey, details to add IPTC
  for (int row = 0; row < 11; ++row) EXPECT_TRUE(Summary(row).isEmpty()) << row;
  EXPECT_TRUE(Summary(11).endsWith(QFileInfo(Q(dir.File("c.jpeg"))).lastModified().toString(QStringLiteral("HH:mm:ss"))))
      << Summary(11).toStdString();
  EXPECT_EQ(grid->item(11, 1)->foreground().color(), QColor(Qt::gray));
  EXPECT_TRUE(Find<QPushButton>("detailsButton")->isEnabled());
  EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, SummaryLookupIgnoresCaseAndTakesTheFirstMatch) {
  const MainWindow::TagList tags{{QStringLiteral("Model"), QStringLiteral("X100")},
                                 {QStringLiteral("flash"), QStringLiteral("standard tag")},
                                 {QStringLiteral("Flash"), QStringLiteral("maker value")}};
  EXPECT_EQ(MainWindow::SummaryValueIn(tags, QStringLiteral("FLASH")), QStringLiteral("standard tag"));
  EXPECT_EQ(MainWindow::SummaryValueIn(tags, QStringLiteral("model")), QStringLiteral("X100"));
  EXPECT_EQ(MainWindow::SummaryValueIn(tags, QStringLiteral("JpegQual")), QStringLiteral("---"));
}

TEST_F(MainWindowTest, SizeInWholeKilobytes) {
  std::string photo = uitest::PhotoBytes(8, 8);
  ASSERT_LT(photo.size(), 1023u);
  lumatrim::test::WriteFile(dir.File("sub/k1023.jpg"), photo + std::string(1023 - photo.size(), '\0'));
  lumatrim::test::WriteFile(dir.File("sub/k2048.jpg"), photo + std::string(2048 - photo.size(), '\0'));
  form->ShowFolder(Q(dir.File("sub")));
  Select(0);
  EXPECT_EQ(Text("fileSizeLabel"), QStringLiteral("0k"));
  Select(1);
  EXPECT_EQ(Text("fileSizeLabel"), QStringLiteral("2k"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, ClickInTheTreeResetsTheDisplay) {
  Select(0);
  ASSERT_FALSE(Summary(0).isEmpty());
  form->ShowFolder(Q(dir.File("sub")));
  EXPECT_EQ(Summary(0), QStringLiteral("Canon")) << "changing the folder alone keeps the display";
  form->ShowFolder(Q(dir.Path()));
  auto* tree = Find<QTreeView>("folderTree");
  uitest::SendMouse(tree->viewport(), QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(form->Preview()->Picture().isNull());
  EXPECT_EQ(Text("dimensionsLabel") + Text("scaleLabel") + Text("fileSizeLabel"), QStringLiteral("00%0k"));
  EXPECT_TRUE(Summary(0).isEmpty());
  EXPECT_FALSE(Find<QPushButton>("detailsButton")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("rotateRightButton")->isEnabled());
}

}  // namespace
