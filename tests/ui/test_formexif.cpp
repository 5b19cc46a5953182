// The metadata detail window on corpus photos and on photos made here: the
// three tabs, editing and saving IPTC, and removing IPTC or EXIF.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/exif/ImgData.h"
#include "core/jpeg/JpegImage.h"
#include "support/JpegBuilder.h"
#include "test_dialogs_photos.h"
#include "test_dialogs_support.h"
#include "ui/fexif/FormExif.h"


using lumatrim::test::CorpusDir;
using lumatrim::test::PromptRecorder;
using lumatrim::test::ReadFile;
using lumatrim::test::TempDir;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QStringList Column(const QTableWidget* grid, int column) {
  QStringList texts;
  for (int row = 0; row < grid->rowCount(); ++row) {
    const QTableWidgetItem* item = grid->item(row, column);
    texts << (item != nullptr ? item->text() : QString());
  }
  return texts;
}

// A corpus photo copied into dir (tests that write never touch the corpus).
std::string CorpusCopy(const TempDir& dir, const std::string& name) {
  const std::string source = CorpusDir() + "/photos/" + name;
  return lumatrim::test::WriteFile(dir.File(name), ReadFile(source));
}

QString ExifTool(const QStringList& args) {
  QProcess tool;
  tool.start(QStringLiteral("exiftool"), args);
  if (!tool.waitForFinished(30000)) return QStringLiteral("<exiftool did not finish>");
  return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

bool HaveExifTool() {
  QProcess tool;
  tool.start(QStringLiteral("exiftool"), {QStringLiteral("-ver")});
  return tool.waitForFinished(30000) && tool.exitCode() == 0;
}

// Releases the mouse over a row of GridTC, as a click does.
void ClickRow(TFormExif& window, int row) {
  window.Page->setCurrentWidget(window.TabIP);
  const QRect cell = window.GridTC->visualRect(window.GridTC->model()->index(row, 1));
  QTest::mouseClick(window.GridTC->viewport(), Qt::LeftButton, {}, cell.center());
}

const QStringList kDefaultNames{"Object name", "Copyright Notice", "Contact", "Date created"};

}  // namespace

TEST(DetailWindow, CanonPhotoShowsDerivedItemsBeforeExposureInfo1) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  TFormExif window(Q(CorpusDir() + "/photos/canon_eos_20d_1.jpg"));
  EXPECT_EQ(window.Page->currentWidget(), window.TabEx);
  const QStringList general = Column(window.SGrid, 0);
  EXPECT_TRUE(general.contains(QStringLiteral("Make")));
  EXPECT_EQ(Column(window.SGrid, 1).value(general.indexOf(QStringLiteral("Make"))), QStringLiteral("Canon"));

  const QStringList maker = Column(window.GridSp, 0);
  const int macro = maker.indexOf(QStringLiteral("Macro mode"));
  const int exposure = maker.indexOf(QStringLiteral("ExposureInfo1"));
  ASSERT_GE(macro, 0) << maker.join(", ").toStdString();
  ASSERT_GE(exposure, 0) << maker.join(", ").toStdString();
  EXPECT_LT(macro, exposure);
  EXPECT_EQ(window.GridSp->rowCount(), maker.size());
  EXPECT_TRUE(window.ButSmazTC->isHidden());
}

TEST(DetailWindow, OlympusPhotoShowsJpegQual) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  TFormExif window(Q(CorpusDir() + "/photos/olympus_type1_1.jpg"));
  EXPECT_TRUE(Column(window.GridSp, 0).contains(QStringLiteral("JpegQual")))
      << Column(window.GridSp, 0).join(", ").toStdString();
}

TEST(DetailWindow, ThumbnailTabShowsThePictureAndItsTags) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  const std::string path = CorpusDir() + "/photos/canon_powershot_s40_1.jpg";
  lumatrim::TimgData meta;
  meta.ReadPhoto(path);
  ASSERT_TRUE(meta.ThumbnailPresent());
  meta.ExifInfo->ParseThumbnailDirectory();
  auto thumb = meta.DecodeThumbnail();
  if (!thumb) GTEST_SKIP() << "this corpus photo carries no thumbnail";
  TFormExif window(Q(path));
  EXPECT_EQ(window.LabMini->text(),
            QStringLiteral("Miniatura (%1 x %2)").arg(thumb->Width()).arg(thumb->Height()));
  ASSERT_FALSE(window.ImgMini->pixmap().isNull());
  EXPECT_EQ(window.ImgMini->pixmap().size(), QSize(thumb->Width(), thumb->Height()));
  EXPECT_TRUE(Column(window.GridMini, 0).contains(QStringLiteral("Compression")))
      << Column(window.GridMini, 0).join(", ").toStdString();
}

TEST(DetailWindow, PhotoWithoutMetadataShowsEmptyTabsAndFourDefaultItems) {
  TempDir dir;
  const std::string path = lumatrim::test::MakePhoto(dir.File("holá.jpg"), 64, 48);
  TFormExif window(Q(path));
  for (const QTableWidget* grid : {window.SGrid, window.GridSp, window.GridMini}) {
    SCOPED_TRACE(grid->objectName().toStdString());
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(Column(grid, 0), QStringList{QString()});
  }
  EXPECT_EQ(window.LabMini->text(), QStringLiteral("Miniatura (0 x 0)"));
  EXPECT_EQ(Column(window.GridTC, 0), kDefaultNames);
  EXPECT_EQ(Column(window.GridTC, 1), QStringList(4, QString()));
  EXPECT_EQ(Column(window.GridTC, 2), (QStringList{"64", "128", "128", "8"}));
  EXPECT_TRUE(window.ButSmazTC->isHidden());
  EXPECT_FALSE(window.ButUlozTC->isEnabled());
  EXPECT_EQ(window.GridTC->columnWidth(0), 150);
  EXPECT_EQ(window.GridTC->columnWidth(2), 30);
}

TEST(DetailWindow, IptcEditIsSavedAndReadBackByExiftool) {
  if (!HaveExifTool()) GTEST_SKIP() << "exiftool is not installed";
  TempDir dir;
  const std::string path = lumatrim::test::MakePhoto(dir.File("most.jpg"), 64, 48);
  PromptRecorder prompts;
  TFormExif window(Q(path));
  window.show();

  prompts.inputText = QStringLiteral("Praha – Karlův most");
  ClickRow(window, 0);
  ASSERT_EQ(prompts.inputTitles, QStringList{QStringLiteral("Object name")});
  EXPECT_EQ(prompts.inputPrompts, QStringList{QStringLiteral("Zadejte hodnotu ")});
  EXPECT_EQ(prompts.inputInitial, QStringList{QString()});
  EXPECT_EQ(Column(window.GridTC, 1).value(0), QStringLiteral("Praha – Karlův most"));
  EXPECT_TRUE(window.ButUlozTC->isEnabled());
  EXPECT_EQ(ReadFile(path), ReadFile(path)) << "nothing written before Uložit IPTC";

  prompts.inputText = QStringLiteral("Jan Novák");
  ClickRow(window, 1);
  window.ButUlozTC->click();
  EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();

  EXPECT_EQ(ExifTool({"-s3", "-IPTC:ObjectName", Q(path)}), QStringLiteral("Praha – Karlův most"));
  EXPECT_EQ(ExifTool({"-s3", "-IPTC:CopyrightNotice", Q(path)}), QStringLiteral("Jan Novák"));
  {
    SCOPED_TRACE("the window reads the saved file again");
    EXPECT_EQ(Column(window.GridTC, 1).value(0), QStringLiteral("Praha – Karlův most"));
    EXPECT_FALSE(window.ButSmazTC->isHidden());
    EXPECT_TRUE(window.ButUlozTC->isEnabled());
  }
  lumatrim::JpegImage decoded;
  decoded.LoadFromFile(path);
  EXPECT_EQ(decoded.Decode().Width, 64) << "the photo still decodes";
}

TEST(DetailWindow, CancelAndClicksOutsideTheRowsChangeNothing) {
  TempDir dir;
  const std::string path = lumatrim::test::MakePhoto(dir.File("a.jpg"), 64, 48);
  const std::string before = ReadFile(path);
  PromptRecorder prompts;
  TFormExif window(Q(path));
  window.show();
  {
    SCOPED_TRACE("Cancel");
    prompts.inputOk = false;
    prompts.inputText = QStringLiteral("ignored");
    ClickRow(window, 2);
    EXPECT_EQ(prompts.inputTitles, QStringList{QStringLiteral("Contact")});
    EXPECT_EQ(Column(window.GridTC, 1), QStringList(4, QString()));
    EXPECT_EQ(window.IptcData->IptcInfo->GetItem(2).Data, "");
    EXPECT_FALSE(window.ButUlozTC->isEnabled());
  }
  {
    SCOPED_TRACE("below the last row");
    prompts.inputOk = true;
    QTest::mouseClick(window.GridTC->viewport(), Qt::LeftButton, {},
                      QPoint(20, window.GridTC->viewport()->height() - 5));
    EXPECT_EQ(prompts.inputTitles.size(), 1);
  }
  EXPECT_EQ(ReadFile(path), before);
}

TEST(DetailWindow, RemovingExifAskedFirst) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  TempDir dir;
  const std::string path = CorpusCopy(dir, "canon_eos_20d_1.jpg");
  const std::string before = ReadFile(path);
  PromptRecorder prompts;
  TFormExif window(Q(path));
  QSignalSpy removed(&window, &TFormExif::ExifRemoved);
  window.show();
  const QStringList general = Column(window.SGrid, 0);
  {
    SCOPED_TRACE("answered No");
    prompts.answerYes = false;
    window.ButSmaz->click();
    EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Opravdu chcete EXIF (včetně miniatury) odstranit?")});
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Column(window.SGrid, 0), general);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(removed.count(), 0);
  }
  {
    SCOPED_TRACE("answered Yes");
    prompts.answerYes = true;
    window.ButSmaz->click();
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_EQ(removed.count(), 1);
    EXPECT_FALSE(window.isVisible());
    lumatrim::TimgData meta;
    meta.ReadPhoto(path);
    EXPECT_FALSE(meta.ExifPresent());
  }
}

TEST(DetailWindow, RemovingIptcShowsTheDefaultsAgain) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  TempDir dir;
  const std::string path = CorpusCopy(dir, "canon_iptc_comment_1.jpg");
  PromptRecorder prompts;
  TFormExif window(Q(path));
  window.show();
  ASSERT_FALSE(window.ButSmazTC->isHidden()) << "this photo has IPTC items";
  const QStringList exifBefore = Column(window.SGrid, 0);

  prompts.answerYes = false;
  window.ButSmazTC->click();
  EXPECT_FALSE(window.ButSmazTC->isHidden());

  prompts.answerYes = true;
  window.ButSmazTC->click();
  EXPECT_EQ(prompts.questions.last(), QStringLiteral("Opravdu chcete IPTC data odstranit?"));
  EXPECT_TRUE(window.ButSmazTC->isHidden());
  EXPECT_EQ(Column(window.GridTC, 0), kDefaultNames);
  EXPECT_EQ(Column(window.SGrid, 0), exifBefore) << "EXIF is kept";
  lumatrim::TimgData meta;
  meta.ReadPhoto(path);
  EXPECT_FALSE(meta.IptcPresent());
  EXPECT_TRUE(meta.ExifPresent());
}

TEST(DetailWindow, FailedSaveIsReportedAndLeavesTheFileAlone) {
  TempDir dir;
  const std::string path = lumatrim::test::MakePhoto(dir.File("zmizí.jpg"), 64, 48);
  PromptRecorder prompts;
  TFormExif window(Q(path));
  window.show();
  prompts.inputText = QStringLiteral("Název");
  ClickRow(window, 0);
  // Between opening and saving the file was replaced by something that is no photo.
  const std::string damaged = lumatrim::test::WriteFile(path, "not a photo any more");
  window.ButUlozTC->click();

  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_TRUE(prompts.errors[0].contains(Q(path))) << prompts.errors[0].toStdString();
  EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("IPTC data se nepodařilo uložit")));
  EXPECT_EQ(ReadFile(path), "not a photo any more");
  EXPECT_EQ(QDir(Q(dir.Path())).entryList(QDir::Files), QStringList{QStringLiteral("zmizí.jpg")})
      << "no temporary file left";
  EXPECT_EQ(Column(window.GridTC, 1).value(0), QStringLiteral("Název")) << "the edit is kept for another try";
}

TEST(DetailWindow, LayoutFitsTheFixedWindow) {
  TempDir dir;
  TFormExif window(Q(lumatrim::test::MakePhoto(dir.File("a.jpg"), 64, 48)));
  window.show();
  EXPECT_EQ(window.size(), QSize(385, 453));
  EXPECT_EQ(window.Page->count(), 3);
  EXPECT_EQ(window.Page->tabText(0), QStringLiteral("EXIF info"));
  EXPECT_EQ(window.Page->tabText(1), QStringLiteral("EXIF miniatura"));
  EXPECT_EQ(window.Page->tabText(2), QStringLiteral("IPTC data"));
  for (QWidget* tab : {window.TabEx, window.TabMini, window.TabIP}) {
    window.Page->setCurrentWidget(tab);
    for (QWidget* child : tab->findChildren<QWidget*>()) {
      if (child->objectName().isEmpty() || child->parentWidget()->objectName().isEmpty()) continue;
      SCOPED_TRACE(child->objectName().toStdString());
      EXPECT_TRUE(child->parentWidget()->rect().contains(child->geometry()));
      if (auto* button = qobject_cast<QPushButton*>(child)) {
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4);
      }
    }
  }
}
