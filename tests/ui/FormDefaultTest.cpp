#include <gtest/gtest.h>

#include <QDir>
#include <QDrag>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>

#include "JpegBuilder.h"
#include "TiffBuilder.h"
#include "UiTestPhotos.h"
#include "ui/main/FormDefault.h"
#include "ui/photoimage/PhotoImage.h"

using lumatrim::test::Ifd;
using lumatrim::test::Order;
using lumatrim::test::TempDir;
using lumatrim::test::TiffBuilder;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

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
class FormDefaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::WritePhoto(dir.File("a.jpg"), 64, 48, CameraExif(true));
    uitest::WritePhoto(dir.File("B.JPG"), 48, 64, CameraExif(false), 1);
    uitest::WritePhoto(dir.File("c.jpeg"), 32, 32);
    lumatrim::test::WriteFile(dir.File("d.png"), "not listed");
    lumatrim::test::WriteFile(dir.File("notes.txt"), "not listed");
    QDir(Q(dir.Path())).mkdir(QStringLiteral("sub"));
    previousFolder = QDir::currentPath();
    QDir::setCurrent(Q(dir.Path()));
    form = std::make_unique<TFormDefault>();
    form->SetMessageSink([this](const QString& text) { messages.push_back(text); });
    listFile = Find<QListWidget>("ListFile");
    tray = Find<QListWidget>("ListTarget");
    pokrac = Find<QPushButton>("ButPokrac");
  }
  void TearDown() override { QDir::setCurrent(previousFolder); }

  template <typename T>
  T* Find(const char* name) {
    T* widget = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  QString Summary(int row) { return Find<QTableWidget>("GridExif")->item(row, 1)->text(); }
  // As the user does it: a click, which moves the current row before it selects.
  void Select(int row) {
    QListWidgetItem* item = listFile->item(row);
    listFile->scrollToItem(item);
    QTest::mouseClick(listFile->viewport(), Qt::LeftButton, {}, listFile->visualItemRect(item).center());
  }

  TempDir dir;
  QString previousFolder;
  std::unique_ptr<TFormDefault> form;
  std::vector<QString> messages;
  QListWidget* listFile = nullptr;
  QListWidget* tray = nullptr;
  QPushButton* pokrac = nullptr;
};

TEST_F(FormDefaultTest, StartsOnTheWorkingFolderWithEveryControlInPlace) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Korvel Lumatrim 1.5"));
  EXPECT_EQ(form->size(), QSize(653, 509));
  EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "fixed size";
  EXPECT_EQ(form->font().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(form->font().pointSize(), 8);

  // JPEG files in any letter case, sorted by name; nothing else.
  ASSERT_EQ(listFile->count(), 3);
  EXPECT_EQ(listFile->item(0)->text(), QStringLiteral("a.jpg"));
  EXPECT_EQ(listFile->item(1)->text(), QStringLiteral("B.JPG"));
  EXPECT_EQ(listFile->item(2)->text(), QStringLiteral("c.jpeg"));
  EXPECT_FALSE(listFile->item(0)->icon().isNull());
  EXPECT_EQ(listFile->currentRow(), -1);
  EXPECT_FALSE(Find<QTreeView>("TreeFiles")->selectionModel()->hasSelection());

  struct Place {
    const char* name;
    QRect rect;
    const char* text;
  } places[] = {
      {"ButLeva", {232, 4, 40, 22}, "< 90°"},
      {"ButPrava", {390, 4, 40, 22}, "90° >"},
      {"ButExif", {118, 224, 81, 22}, "Podrobnosti"},
      {"ButPresun", {267, 463, 126, 22}, ">>   Přesunout vše   >>"},
      {"ButPokrac", {560, 458, 83, 25}, "Pokračovat >"},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.name);
    auto* button = Find<QPushButton>(p.name);
    EXPECT_EQ(button->geometry(), p.rect);
    EXPECT_EQ(button->text(), QString::fromUtf8(p.text));
    EXPECT_EQ(button->isEnabled(), std::string(p.name) == "ButPresun");
  }
  EXPECT_EQ(Find<QGroupBox>("GroupBox8")->title(), QStringLiteral(" Průzkumník "));
  EXPECT_EQ(Find<QGroupBox>("GroupBox6")->title(), QStringLiteral(" Zásobník pro optimalizaci "));
  EXPECT_EQ(Find<QGroupBox>("GroupBox9")->title(), QStringLiteral(" EXIF Informace "));
  EXPECT_EQ(Text("Label1"), QStringLiteral("F5 - přesun souboru do zásobníku"));
  EXPECT_EQ(Find<QWidget>("ListFile")->geometry(), QRect(6, 220, 200, 205));
  EXPECT_EQ(Find<QWidget>("ListTarget")->geometry(), QRect(6, 16, 192, 420));
  EXPECT_EQ(Find<QWidget>("ImagePanel")->size(), QSize(200, 150));
  EXPECT_EQ(Text("LabScale"), QStringLiteral("0"));
  EXPECT_EQ(Text("LabMeritko"), QStringLiteral("0%"));
  EXPECT_EQ(Text("LabSize"), QStringLiteral("0k"));

  auto* grid = Find<QTableWidget>("GridExif");
  EXPECT_EQ(grid->columnWidth(0), 70);
  EXPECT_EQ(grid->columnWidth(1), 132);
  EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Fotoaparát"));
  EXPECT_EQ(grid->item(9, 0)->text(), QStringLiteral("Měření"));
  EXPECT_EQ(grid->item(11, 0)->text(), QStringLiteral("Vytvořeno"));
  EXPECT_TRUE(grid->item(0, 1)->text().isEmpty());
}

TEST_F(FormDefaultTest, TrayAddAndRemoveRulesDriveTheContinueButton) {
  // Nothing selected: F5 / double click add nothing.
  form->ListFileDblClick();
  EXPECT_EQ(tray->count(), 0);
  EXPECT_FALSE(pokrac->isEnabled());

  Select(0);
  form->ListFileDblClick();
  form->ListFileDblClick();
  ASSERT_EQ(tray->count(), 2) << "the same file twice stands twice";
  EXPECT_EQ(tray->item(0)->text(), Q(dir.File("a.jpg")));
  EXPECT_TRUE(pokrac->isEnabled());

  tray->clearSelection();
  form->Odstranit1Click();
  EXPECT_EQ(tray->count(), 2) << "none selected: nothing deleted";
  EXPECT_TRUE(pokrac->isEnabled());

  tray->setCurrentRow(1);
  form->Odstranit1Click();
  EXPECT_EQ(tray->count(), 1);
  EXPECT_TRUE(pokrac->isEnabled());
  tray->setCurrentRow(0);
  form->Odstranit1Click();
  EXPECT_EQ(tray->count(), 0);
  EXPECT_FALSE(pokrac->isEnabled()) << "the tray became empty";

  form->ListFileDblClick();
  form->Odstranitve1Click();
  EXPECT_EQ(tray->count(), 0);
  EXPECT_FALSE(pokrac->isEnabled());

  form->ListFileDblClick();
  form->EmptyTrayAfterBatch();
  EXPECT_EQ(tray->count(), 0);
  EXPECT_FALSE(pokrac->isEnabled());
}

TEST_F(FormDefaultTest, F5AddsTheSelectedFileWhileTheListHasTheFocus) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->activateWindow();
  listFile->setFocus();
  QTest::keyClick(listFile, Qt::Key_F5);
  EXPECT_EQ(tray->count(), 0);
  Select(1);
  QTest::keyClick(listFile, Qt::Key_F5);
  ASSERT_EQ(tray->count(), 1);
  EXPECT_EQ(tray->item(0)->text(), Q(dir.File("B.JPG")));
}

TEST_F(FormDefaultTest, MoveAllAppendsEveryFileAndKeepsThePreviousPreview) {
  Select(0);
  ASSERT_EQ(Text("LabScale"), QStringLiteral("64 × 48"));
  form->ListFileDblClick();
  form->ButPresunClick();
  QStringList expected{Q(dir.File("a.jpg")), Q(dir.File("a.jpg")), Q(dir.File("B.JPG")), Q(dir.File("c.jpeg"))};
  EXPECT_EQ(form->TrayPaths(), expected);
  EXPECT_TRUE(pokrac->isEnabled());
  EXPECT_EQ(listFile->currentRow(), 2) << "the last file ends selected";
  EXPECT_EQ(Text("LabScale"), QStringLiteral("64 × 48")) << "but the preview still shows the first";
  EXPECT_EQ(form->Preview()->DimensionsText(), QStringLiteral("64 × 48"));
}

TEST_F(FormDefaultTest, AnEmptyFileListAddsNothing) {
  form->ShowFolder(Q(dir.File("sub")));
  ASSERT_EQ(listFile->count(), 0);
  form->ButPresunClick();
  form->ListFileDblClick();
  EXPECT_EQ(tray->count(), 0);
  EXPECT_FALSE(pokrac->isEnabled());

  // With an entry in the tray, the button stays enabled as it was.
  form->ShowFolder(Q(dir.Path()));
  Select(0);
  form->ListFileDblClick();
  form->ShowFolder(Q(dir.File("sub")));
  form->ButPresunClick();
  EXPECT_EQ(tray->count(), 1);
  EXPECT_TRUE(pokrac->isEnabled());
}

TEST_F(FormDefaultTest, DragStartsOnlyWithExactlyTheLeftButton) {
  std::vector<QString> dragged;
  form->SetDragExecutor([&](QDrag* drag) { dragged.push_back(drag->mimeData()->text()); });
  QWidget* viewport = listFile->viewport();
  auto move = [&](Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
    uitest::SendMouse(viewport, QEvent::MouseMove, {20, 5}, Qt::NoButton, buttons, keys);
  };
  move(Qt::LeftButton, Qt::NoModifier);
  EXPECT_TRUE(dragged.empty()) << "no file selected";

  Select(1);
  struct Case {
    const char* name;
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers keys;
  } refused[] = {
      {"left with Shift", Qt::LeftButton, Qt::ShiftModifier},
      {"left with Ctrl", Qt::LeftButton, Qt::ControlModifier},
      {"left with Alt", Qt::LeftButton, Qt::AltModifier},
      {"left and right", Qt::LeftButton | Qt::RightButton, Qt::NoModifier},
      {"right", Qt::RightButton, Qt::NoModifier},
      {"no button", Qt::NoButton, Qt::NoModifier},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.name);
    move(c.buttons, c.keys);
    EXPECT_TRUE(dragged.empty());
  }
  move(Qt::LeftButton, Qt::NoModifier);
  ASSERT_EQ(dragged.size(), 1u) << "the first move with the left button starts it";
  EXPECT_EQ(dragged[0], Q(dir.File("B.JPG")));

  // The drop appends the path stored when the drag began.
  Select(2);
  form->DropTDrop();
  EXPECT_EQ(form->TrayPaths(), QStringList{Q(dir.File("B.JPG"))});
  EXPECT_TRUE(pokrac->isEnabled());
}

TEST_F(FormDefaultTest, SelectingAPhotoFillsPreviewLabelsAndSummary) {
  Select(0);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Text("LabScale"), QStringLiteral("64 × 48"));
  EXPECT_EQ(Text("LabMeritko"), QStringLiteral("100%"));
  EXPECT_TRUE(form->Preview()->isVisible() || !form->isVisible());
  EXPECT_EQ(form->Preview()->geometry(), QRect(68, 51, 64, 48));
  EXPECT_TRUE(Find<QPushButton>("ButLeva")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("ButPrava")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("ButExif")->isEnabled());

  EXPECT_EQ(Summary(0), QStringLiteral("Canon"));
  EXPECT_EQ(Summary(1), QStringLiteral("Canon EOS 5D"));
  EXPECT_EQ(Summary(2), QStringLiteral("---")) << "no maker-note quality";
  EXPECT_FALSE(Summary(3).isEmpty());
  EXPECT_TRUE(Summary(4).contains(QStringLiteral("50"))) << Summary(4).toStdString();
  EXPECT_TRUE(Summary(5).contains(QStringLiteral("1/125"))) << Summary(5).toStdString();
  EXPECT_TRUE(Summary(6).startsWith(QStringLiteral("F2"))) << Summary(6).toStdString();
  EXPECT_EQ(Summary(7), QStringLiteral("200 ISO"));
  EXPECT_EQ(Summary(8), QStringLiteral("Normal"));
  EXPECT_EQ(Summary(9), QStringLiteral("MultiSegment"));
  EXPECT_EQ(Summary(10), QStringLiteral("Lumatrim test"));
  EXPECT_EQ(Summary(11), QStringLiteral("2024:05:01 10:20:30"));

  Select(1);  // no ISO value
  EXPECT_EQ(Summary(7), QStringLiteral("--- ISO"));
  EXPECT_EQ(Text("LabScale"), QStringLiteral("48 × 64"));

  Select(2);  // no EXIF at all: empty values, no details
  for (int row = 0; row < 12; ++row) EXPECT_TRUE(Summary(row).isEmpty()) << row;
  EXPECT_FALSE(Find<QPushButton>("ButExif")->isEnabled());
  EXPECT_TRUE(messages.empty());
}

TEST_F(FormDefaultTest, SummaryLookupIgnoresCaseAndTakesTheFirstMatch) {
  auto* names = Find<QListWidget>("ListP");
  auto* values = Find<QListWidget>("ListH");
  names->addItems({QStringLiteral("Model"), QStringLiteral("flash"), QStringLiteral("Flash")});
  values->addItems({QStringLiteral("X100"), QStringLiteral("standard tag"), QStringLiteral("maker value")});
  EXPECT_EQ(form->SummaryValue(QStringLiteral("FLASH")), QStringLiteral("standard tag"));
  EXPECT_EQ(form->SummaryValue(QStringLiteral("model")), QStringLiteral("X100"));
  EXPECT_EQ(form->SummaryValue(QStringLiteral("JpegQual")), QStringLiteral("---"));
}

TEST_F(FormDefaultTest, FileSizeIsShownInWholeKilobytes) {
  std::string photo = uitest::PhotoBytes(8, 8);
  ASSERT_LT(photo.size(), 1023u);
  lumatrim::test::WriteFile(dir.File("sub/k1023.jpg"), photo + std::string(1023 - photo.size(), '\0'));
  lumatrim::test::WriteFile(dir.File("sub/k2048.jpg"), photo + std::string(2048 - photo.size(), '\0'));
  form->ShowFolder(Q(dir.File("sub")));
  Select(0);
  EXPECT_EQ(Text("LabSize"), QStringLiteral("0k"));
  Select(1);
  EXPECT_EQ(Text("LabSize"), QStringLiteral("2k"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(FormDefaultTest, ANonJpegNamedJpgKeepsThePreviousPicture) {
  lumatrim::test::WriteFile(dir.File("zz_fake.jpg"), "This is a text file, not a photo.\n");
  form->ShowFolder(Q(dir.Path()));
  Select(0);
  QImage before = form->Preview()->Picture();
  ASSERT_FALSE(before.isNull());
  Select(3);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QStringLiteral("Chybná EXIF data."));
  EXPECT_EQ(form->Preview()->Picture(), before);
  EXPECT_EQ(Text("LabScale"), QStringLiteral("64 × 48")) << "later steps are not done";
  EXPECT_TRUE(Summary(0).isEmpty());
  EXPECT_FALSE(Find<QPushButton>("ButExif")->isEnabled());
}

TEST_F(FormDefaultTest, EntriesButNoSelectionShowNothingAndSayNothing) {
  Select(0);
  listFile->clearSelection();
  form->ListFileClick();
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(form->Preview()->isHidden());
  EXPECT_TRUE(Text("LabScale").isEmpty());
  EXPECT_TRUE(Text("LabMeritko").isEmpty());
  EXPECT_EQ(Text("LabSize"), QStringLiteral("0k"));
  EXPECT_TRUE(Summary(0).isEmpty());
  // Deliberately off while there is no photo to turn.
  EXPECT_FALSE(Find<QPushButton>("ButLeva")->isEnabled());
}

TEST_F(FormDefaultTest, ClickInTheTreeResetsTheDisplay) {
  Select(0);
  ASSERT_FALSE(Summary(0).isEmpty());
  form->ShowFolder(Q(dir.File("sub")));
  EXPECT_EQ(Summary(0), QStringLiteral("Canon")) << "changing the folder alone keeps the display";
  form->ShowFolder(Q(dir.Path()));
  auto* tree = Find<QTreeView>("TreeFiles");
  uitest::SendMouse(tree->viewport(), QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(form->Preview()->Picture().isNull());
  EXPECT_EQ(Text("LabScale"), QStringLiteral("0"));
  EXPECT_EQ(Text("LabMeritko"), QStringLiteral("0%"));
  EXPECT_EQ(Text("LabSize"), QStringLiteral("0k"));
  EXPECT_TRUE(Summary(0).isEmpty());
  EXPECT_FALSE(Find<QPushButton>("ButExif")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("ButLeva")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("ButPrava")->isEnabled());
  EXPECT_EQ(listFile->count(), 3) << "the list does not change";
}

TEST_F(FormDefaultTest, RotationButtonsTurnThePhotoAndReloadIt) {
  Select(0);
  auto* right = Find<QPushButton>("ButPrava");
  ASSERT_TRUE(right->isEnabled());
  right->click();
  EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages[0].toStdString());
  EXPECT_EQ(Text("LabScale"), QStringLiteral("48 × 64"));
  EXPECT_EQ(Summary(0), QStringLiteral("Canon")) << "EXIF copied along";
  Find<QPushButton>("ButLeva")->click();
  EXPECT_EQ(Text("LabScale"), QStringLiteral("64 × 48"));
}

TEST_F(FormDefaultTest, StatusBarHintsFollowTheFocus) {
  auto* hint = Find<QLabel>("StatusPanel0");
  auto focus = [](QWidget* w, QEvent::Type type) {
    QFocusEvent event(type, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(w, &event);
  };
  focus(tray, QEvent::FocusIn);
  EXPECT_TRUE(hint->text().isEmpty()) << "an empty tray gives no hint";
  focus(listFile, QEvent::FocusIn);
  EXPECT_EQ(hint->text(), QStringLiteral("Dvojklikem nebo přetažením myší přesuneš soubor do zásobníku"));
  focus(listFile, QEvent::FocusOut);
  EXPECT_TRUE(hint->text().isEmpty());
  Select(0);
  form->ListFileDblClick();
  focus(tray, QEvent::FocusIn);
  EXPECT_EQ(hint->text(), QStringLiteral("Pravým tlačítkem myši odstraníš soubor/y"));
  focus(tray, QEvent::FocusOut);
  EXPECT_TRUE(hint->text().isEmpty());
}

}  // namespace
