// The main window as a photo browser: many photos picked at once, one window
// for every start, the shown folder followed live, a damaged photo said in
// the preview, a turn that would trim asked about once.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <QtConcurrent/QtConcurrentRun>
#include <memory>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "ui/instance/SingleInstance.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/PhotoFileList.h"
#include "ui/preview/PhotoPreview.h"

using lumatrim::test::WaitUntil;
using uitest::Q;

namespace {

class MainWindowBrowser : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 7; ++i) uitest::WritePhoto(dir.File("p" + std::to_string(i) + ".jpg"), 32, 24, {}, i);
    window = std::make_unique<MainWindow>();
    window->SetMessageSink([this](const QString& text) { messages << text; });
    fileList = window->findChild<QListWidget*>(QStringLiteral("fileList"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    fileList->setFocus();
  }
  void Click(int row, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(fileList->viewport(), Qt::LeftButton, keys, fileList->visualItemRect(fileList->item(row)).center());
  }
  QStringList Files(std::initializer_list<int> rows) {
    QStringList paths;
    for (int row : rows) paths << Q(dir.File("p" + std::to_string(row) + ".jpg"));
    return paths;
  }

  uitest::WorkingFolder dir;
  lumatrim::test::PromptRecorder prompts;
  std::unique_ptr<MainWindow> window;
  QListWidget* fileList = nullptr;
  QStringList messages;
};

TEST_F(MainWindowBrowser, ShiftAndCtrlPickSeveralPhotosAndEveryWayIntoTheTrayTakesThemAll) {
  Click(1);
  Click(5, Qt::ShiftModifier);
  ASSERT_EQ(window->SelectedFiles(), Files({1, 2, 3, 4, 5}));
  QTest::keyClick(fileList, Qt::Key_F5);
  EXPECT_EQ(window->TrayPaths(), Files({1, 2, 3, 4, 5}));

  struct Way {
    const char* what;
    std::function<void()> add;
  } ways[] = {
      {"double click", [&] { window->FileDoubleClicked(); }},
      {"drag and drop", [&] {
         window->SetDragExecutor([&](QDrag*) { window->FileDroppedOnTray(); });
         uitest::SendMouse(fileList->viewport(), QEvent::MouseMove, {20, 5}, Qt::NoButton, Qt::LeftButton);
       }},
      {"the >> button", [&] { window->findChild<QPushButton*>(QStringLiteral("moveAllButton"))->click(); }},
  };
  Click(0);
  Click(6, Qt::ControlModifier);
  const QPushButton* addButton = window->findChild<QPushButton*>(QStringLiteral("moveAllButton"));
  EXPECT_EQ(addButton->text(), QStringLiteral(">>  Přidat vybrané  >>"));
  EXPECT_LE(addButton->fontMetrics().horizontalAdvance(addButton->text()), addButton->width() - 8) << "it fits";
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    window->ClearTrayChosen();
    way.add();
    EXPECT_EQ(window->TrayPaths(), Files({0, 6}));
  }
  QTest::keyClick(fileList, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(window->SelectedFiles().size(), 7);
}

TEST_F(MainWindowBrowser, RotationTurnsEverySelectedPhotoAndNamesThatDoNotShowWholeHaveATip) {
  uitest::WritePhoto(dir.File("p1.jpg"), 48, 32);
  uitest::WritePhoto(dir.File("p2.jpg"), 64, 16);
  Click(1);
  Click(2, Qt::ShiftModifier);
  window->RotateRightClicked();
  EXPECT_EQ(uitest::PhotoSize(dir.File("p1.jpg")), std::make_pair(32, 48));
  EXPECT_EQ(uitest::PhotoSize(dir.File("p2.jpg")), std::make_pair(16, 64));
  EXPECT_EQ(uitest::PhotoSize(dir.File("p3.jpg")), std::make_pair(32, 24)) << "not selected, not turned";
  EXPECT_TRUE(messages.isEmpty());

  const auto* list = static_cast<PhotoFileList*>(fileList);
  uitest::WritePhoto(dir.File("a_very_long_name_of_a_photo_from_the_summer_holiday_2026.jpg"), 16, 16);
  ASSERT_TRUE(WaitUntil([&] { return fileList->count() == 8; }, 1000));
  EXPECT_TRUE(list->NameCut(fileList->item(0)));
  EXPECT_FALSE(list->NameCut(fileList->item(1)));
  // The thumbnails come from a worker: every entry gets one.
  window->findChild<QToolButton*>(QStringLiteral("thumbnailViewButton"))->click();
  ASSERT_TRUE(WaitUntil([&] {
    for (int row = 0; row < fileList->count(); ++row)
      if (fileList->item(row)->icon().availableSizes().value(0).width() != 64) return false;
    return true;
  }, 5000));
}

TEST_F(MainWindowBrowser, TheShownFolderIsFollowedLiveAndTheSelectionStays) {
  Click(2);
  Click(3, Qt::ControlModifier);
  uitest::WritePhoto(dir.File("new.jpg"), 16, 16);
  ASSERT_TRUE(WaitUntil([&] { return fileList->count() == 8; }, 1000)) << "a new photo shows within a second";
  EXPECT_EQ(fileList->item(0)->text(), QStringLiteral("new.jpg"));
  EXPECT_EQ(window->SelectedFiles(), Files({2, 3}));

  ASSERT_TRUE(QFile::rename(Q(dir.File("p2.jpg")), Q(dir.File("z.jpg"))));
  ASSERT_TRUE(QFile::remove(Q(dir.File("p0.jpg"))));
  ASSERT_TRUE(WaitUntil([&] { return fileList->findItems(QStringLiteral("z.jpg"), Qt::MatchExactly).size() == 1; }, 1000));
  EXPECT_TRUE(fileList->findItems(QStringLiteral("p0.jpg"), Qt::MatchExactly).isEmpty());
  EXPECT_EQ(window->SelectedFiles(), Files({3})) << "the renamed photo is a new entry, not a selected one";
}

TEST_F(MainWindowBrowser, ASecondStartHandsItsPhotosToTheRunningWindow) {
  const QString name = QStringLiteral("lumatrim-test-%1").arg(QCoreApplication::applicationPid());
  SingleInstance first(name);
  ASSERT_TRUE(first.Listen());
  QObject::connect(&first, &SingleInstance::PhotosArrived, window.get(), &MainWindow::ReceivePhotos);
  QDir::setCurrent(Q(dir.Path()));  // the second start's relative path is made absolute
  QFuture<bool> second = QtConcurrent::run([&] { return SingleInstance::HandOver(name, {QStringLiteral("p4.jpg")}); });
  ASSERT_TRUE(WaitUntil([&] { return second.isFinished(); }, 5000));
  EXPECT_TRUE(second.result()) << "the running window confirmed";
  EXPECT_EQ(window->TrayPaths(), Files({4}));
  EXPECT_EQ(window->SelectedFile(), Files({4}).first());
  EXPECT_FALSE(SingleInstance::HandOver(name + QStringLiteral("-none"), {QStringLiteral("p4.jpg")}, 500))
      << "no window listens: the start opens its own";
}

TEST_F(MainWindowBrowser, ADamagedPhotoIsSaidInThePreviewWithoutABoxAndTheNextKeyStillCounts) {
  lumatrim::test::WriteFile(dir.File("p3.jpg"), "This is a text file, not a photo.\n");
  Click(2);
  ASSERT_TRUE(window->Preview()->WaitUntilDecoded());
  ASSERT_FALSE(window->Preview()->Picture().isNull());
  QTest::keyClick(fileList, Qt::Key_Down);
  ASSERT_TRUE(WaitUntil([&] { return !window->PreviewProblem().isEmpty(); }, 5000));
  EXPECT_EQ(window->PreviewProblem(), QStringLiteral("Fotografii nelze zobrazit.\nSoubor není fotografie JPEG."));
  EXPECT_TRUE(messages.isEmpty() && prompts.messages.isEmpty()) << "no modal box";
  EXPECT_TRUE(window->Preview()->Picture().isNull()) << "the photo before does not stay";
  EXPECT_FALSE(window->findChild<QPushButton*>(QStringLiteral("rotateLeftButton"))->isEnabled());
  EXPECT_FALSE(window->findChild<QPushButton*>(QStringLiteral("detailsButton"))->isEnabled());

  QTest::keyClick(fileList, Qt::Key_Down);
  EXPECT_EQ(window->SelectedFile(), Files({4}).first()) << "the key after it is not lost";
  ASSERT_TRUE(window->Preview()->WaitUntilDecoded());
  EXPECT_TRUE(window->PreviewProblem().isEmpty());
}

TEST_F(MainWindowBrowser, QuittingWithPhotosInTheTrayAsks) {
  Click(0);
  window->FileDoubleClicked();
  window->close();
  EXPECT_EQ(prompts.questions.size(), 1);
  EXPECT_TRUE(window->isVisible()) << "answered no";
  prompts.answerYes = true;
  window->close();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowBrowser, ATurnThatTrimsAsksOnceAndAlwaysIsRemembered) {
  const QString photo = Q(uitest::WritePhoto(dir.File("p3.jpg"), 450, 600));
  QStringList asked;
  MainWindow::TrimAnswer answer = MainWindow::TrimAnswer::No;
  window->SetTrimAsker([&](const QString& text) {
    asked << text;
    return answer;
  });
  Click(3);
  const std::string before = lumatrim::test::ReadFile(photo.toStdString());
  window->RotateLeftClicked();
  ASSERT_EQ(asked.size(), 1);
  const QSize trim = MainWindow::RotationTrim(photo, true);
  ASSERT_FALSE(trim.isNull()) << "450 × 600 is not whole blocks";
  EXPECT_EQ(asked[0], QStringLiteral("Otočení bez ztráty ořízne %1 × %2 px. Pokračovat?").arg(trim.width()).arg(trim.height()));
  EXPECT_EQ(lumatrim::test::ReadFile(photo.toStdString()), before) << "answered no: untouched";

  answer = MainWindow::TrimAnswer::Always;
  window->RotateLeftClicked();
  EXPECT_NE(lumatrim::test::ReadFile(photo.toStdString()), before);
  uitest::WritePhoto(dir.File("p3.jpg"), 450, 600);
  window->RotateLeftClicked();
  EXPECT_EQ(asked.size(), 2) << "after \"Vždy\" never again";
  EXPECT_TRUE(QSettings().value(QLatin1String(MainWindow::kTrimAlwaysKey)).toBool());
  EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
