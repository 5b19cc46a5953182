// The metadata detail window on corpus photos and on photos made here: the
// tabs, editing and saving IPTC, and the question before removing EXIF.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "JpegBuilder.h"
#include "TiffBuilder.h"
#include "UiTestPhotos.h"
#include "ui/details/DetailsWindow.h"

using lumatrim::test::CorpusDir;
using lumatrim::test::PromptRecorder;
using lumatrim::test::ReadFile;
using lumatrim::test::TempDir;
using uitest::Q;

namespace {

QStringList Column(const QTableWidget* grid, int column) {
  QStringList texts;
  for (int row = 0; row < grid->rowCount(); ++row) {
    const QTableWidgetItem* item = grid->item(row, column);
    texts << (item != nullptr ? item->text() : QString());
  }
  return texts;
}

// Null when exiftool is missing or fails.
QString ExifTool(const QStringList& args) {
  QProcess tool;
  tool.start(QStringLiteral("exiftool"), args);
  if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return QString();
  return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// Releases the mouse over a row of the IPTC grid, as a click does.
void ClickRow(DetailsWindow& window, int row) {
  window.Tabs()->setCurrentWidget(window.IptcTab());
  const QRect cell = window.IptcGrid()->visualRect(window.IptcGrid()->model()->index(row, 1));
  QTest::mouseClick(window.IptcGrid()->viewport(), Qt::LeftButton, {}, cell.center());
}

TEST(DetailWindow, MakerNoteItemsOfCorpusPhotos) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  {
    SCOPED_TRACE("Canon: derived items come before ExposureInfo1, which is technical");
    DetailsWindow window(Q(CorpusDir() + "/photos/canon_eos_20d_1.jpg"));
    const QStringList general = Column(window.GeneralGrid(), 0);
    EXPECT_EQ(Column(window.GeneralGrid(), 1).value(general.indexOf(QStringLiteral("Výrobce fotoaparátu"))),
              QStringLiteral("Canon"));
    EXPECT_LT(general.indexOf(QStringLiteral("Pozice EXIF")), 0) << "offsets hidden at first";
    EXPECT_LT(Column(window.MakerGrid(), 0).indexOf(QStringLiteral("ExposureInfo1")), 0);
    window.TechnicalBox()->setChecked(true);
    EXPECT_GE(Column(window.GeneralGrid(), 0).indexOf(QStringLiteral("Pozice EXIF")), 0);
    const QStringList maker = Column(window.MakerGrid(), 0);
    const int macro = maker.indexOf(QStringLiteral("Makro"));
    ASSERT_GE(macro, 0) << maker.join(", ").toStdString();
    EXPECT_LT(macro, maker.indexOf(QStringLiteral("ExposureInfo1")));
  }
  DetailsWindow olympus(Q(CorpusDir() + "/photos/olympus_type1_1.jpg"));
  EXPECT_TRUE(Column(olympus.MakerGrid(), 0).contains(QStringLiteral("Kvalita JPEG")))
      << Column(olympus.MakerGrid(), 0).join(", ").toStdString();
}

TEST(DetailWindow, PhotoWithoutMetadataShowsEmptyTabsAndCancelChangesNothing) {
  TempDir dir;
  const std::string path = uitest::WritePhoto(dir.File("holá.jpg"), 64, 48);
  const std::string before = ReadFile(path);
  PromptRecorder prompts;
  DetailsWindow window(Q(path));
  window.show();
  for (const QTableWidget* grid : {window.GeneralGrid(), window.MakerGrid(), window.ThumbnailGrid()}) {
    EXPECT_EQ(Column(grid, 0), QStringList{QString()}) << grid->objectName().toStdString() << ": one empty row";
  }
  EXPECT_EQ(window.ThumbnailSizeLabel()->text(), QStringLiteral("Miniatura (0 x 0)"));
  EXPECT_EQ(Column(window.IptcGrid(), 0),
            (QStringList{"Titulek", "Popis", "Klíčová slova", "Autor", "Copyright", "Kontakt", "Město", "Část obce",
                         "Kraj", "Země", "Kód země", "Datum pořízení", "Zdroj", "Poskytovatel", "Pokyny"}));
  EXPECT_TRUE(window.RemoveIptcButton()->isHidden());
  EXPECT_FALSE(window.SaveIptcButton()->isEnabled());

  prompts.inputOk = false;
  prompts.inputText = QStringLiteral("ignored");
  ClickRow(window, 5);
  EXPECT_EQ(prompts.inputTitles, QStringList{QStringLiteral("Kontakt")});
  EXPECT_EQ(Column(window.IptcGrid(), 1), QStringList(15, QString()));
  EXPECT_FALSE(window.SaveIptcButton()->isEnabled());
  prompts.inputOk = true;
  QTest::mouseClick(window.IptcGrid()->viewport(), Qt::LeftButton, {}, QPoint(20, window.IptcGrid()->viewport()->height() - 5));
  EXPECT_EQ(prompts.inputTitles.size(), 1) << "a click below the last row asks nothing";
  EXPECT_EQ(ReadFile(path), before);
}

TEST(DetailWindow, IptcEditIsSavedAndReadBackByExiftool) {
  if (ExifTool({QStringLiteral("-ver")}).isNull()) GTEST_SKIP() << "exiftool is not installed";
  TempDir dir;
  const std::string path = uitest::WritePhoto(dir.File("most.jpg"), 64, 48);
  PromptRecorder prompts;
  DetailsWindow window(Q(path));
  window.show();
  prompts.inputText = QStringLiteral("Praha – Karlův most");
  ClickRow(window, 0);
  EXPECT_EQ(prompts.inputTitles, QStringList{QStringLiteral("Titulek")});
  EXPECT_EQ(prompts.inputPrompts, QStringList{QStringLiteral("Zadejte hodnotu ")});
  EXPECT_TRUE(window.SaveIptcButton()->isEnabled());
  prompts.inputText = QStringLiteral("Jan Novák");
  ClickRow(window, 4);
  prompts.inputText = QStringLiteral("Plzeň");
  ClickRow(window, 6);
  // Keywords with blanks stay whole; a too long one is told as it is typed.
  prompts.inputText = QStringLiteral("hrad Karlštejn; letní dovolená, Šumava\n") + QString(65, QLatin1Char('k'));
  ClickRow(window, 2);
  EXPECT_EQ(prompts.inputNotes.last(),
            QStringLiteral("Klíčové slovo „%1“ má 65 bajtů, IPTC dovoluje nejvýše 64.").arg(QString(65, QLatin1Char('k'))));
  prompts.inputText = QStringLiteral("hrad Karlštejn; letní dovolená, Šumava");
  ClickRow(window, 2);
  EXPECT_TRUE(prompts.inputNotes.last().isEmpty());
  window.SaveIptcButton()->click();
  EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();

  EXPECT_EQ(ExifTool({"-s3", "-IPTC:ObjectName", Q(path)}), QStringLiteral("Praha – Karlův most"));
  EXPECT_EQ(ExifTool({"-s3", "-IPTC:CopyrightNotice", Q(path)}), QStringLiteral("Jan Novák"));
  EXPECT_EQ(ExifTool({"-s3", "-IPTC:City", Q(path)}), QStringLiteral("Plzeň"));
  EXPECT_EQ(ExifTool({"-s3", "-sep", "|", "-IPTC:Keywords", Q(path)}),
            QStringLiteral("hrad Karlštejn|letní dovolená|Šumava"));
  EXPECT_EQ(Column(window.IptcGrid(), 1).value(0), QStringLiteral("Praha – Karlův most")) << "read again";
  EXPECT_FALSE(window.RemoveIptcButton()->isHidden());
  EXPECT_EQ(uitest::DecodedPixels(path).size(), 64u * 48u * 3u) << "the photo still decodes";
}

// Windows-1250 text is shown in Czech; keywords are one row of comma text,
// each keyword whole, and the row given back unchanged keeps the file's bytes.
TEST(DetailWindow, LegacyTextAndKeywordListsAreShownAndEditedWhole) {
  TempDir dir;
  const std::string iptc = lumatrim::test::IptcDataset(2, 90, "Plze\xF2") +
                           lumatrim::test::IptcDataset(2, 25, "Karl\xF9v most") + lumatrim::test::IptcDataset(2, 25, "a, b");
  const std::string jpeg = uitest::PhotoBytes(32, 24);
  const std::string path =
      lumatrim::test::WriteFile(dir.File("p.jpg"), lumatrim::test::JpegBuilder().Soi().App13(
                                                       lumatrim::test::PhotoshopIptcPayload(iptc)).Bytes() + jpeg.substr(2));
  PromptRecorder prompts;
  DetailsWindow window(Q(path));
  window.show();
  const QStringList labels = Column(window.IptcGrid(), 0);
  EXPECT_EQ(Column(window.IptcGrid(), 1).value(labels.indexOf(QStringLiteral("Město"))), QStringLiteral("Plzeň"));
  const int keywordRow = static_cast<int>(labels.indexOf(QStringLiteral("Klíčová slova")));
  EXPECT_EQ(Column(window.IptcGrid(), 1).value(keywordRow), QStringLiteral("Karlův most, \"a, b\""));
  prompts.inputText = QStringLiteral("Karlův most\n\"a, b\"");
  ClickRow(window, keywordRow);
  window.SaveIptcButton()->click();
  EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
  const std::string after = ReadFile(path);
  EXPECT_NE(after.find(iptc), std::string::npos) << "the datasets as they were";
  EXPECT_EQ(after.find("\x1C\x01\x5A"), std::string::npos) << "no UTF-8 marker: nothing needed it";
  prompts.inputText = QStringLiteral("Karlův most\n\"a, b\"\nBrno");
  ClickRow(window, keywordRow);
  window.SaveIptcButton()->click();
  EXPECT_EQ(Column(window.IptcGrid(), 1).value(keywordRow), QStringLiteral("Karlův most, \"a, b\", Brno")) << "read again";
}

TEST(DetailWindow, RemovingExifIsAskedFirst) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  TempDir dir;
  const std::string path = lumatrim::test::WriteFile(dir.File("canon.jpg"),
                                                     ReadFile(CorpusDir() + "/photos/canon_eos_20d_1.jpg"));
  const std::string before = ReadFile(path);
  PromptRecorder prompts;
  DetailsWindow window(Q(path));
  QSignalSpy removed(&window, &DetailsWindow::ExifRemoved);
  window.show();
  const QStringList general = Column(window.GeneralGrid(), 0);

  window.RemoveExifButton()->click();  // answered No
  EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Opravdu chcete EXIF (včetně miniatury) odstranit?")});
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(Column(window.GeneralGrid(), 0), general);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(removed.count(), 0);

  prompts.answerYes = true;  // what Yes does is checked through the main window
  window.RemoveExifButton()->click();
  EXPECT_EQ(removed.count(), 1);
}

// "Odstranit GPS" asks first; Yes takes the position out of the file and
// the window shows the photo's other tags again; a photo without a position
// offers no such button.
TEST(DetailWindow, RemovingGpsIsAskedFirstAndKeepsTheOtherTags) {
  TempDir dir;
  lumatrim::test::Ifd gps, ifd0;
  gps.Ascii(0x0001, "N").Rational(0x0002, {{50, 1}, {5, 1}, {30, 1}}).Ascii(0x0003, "E").Rational(0x0004, {{14, 1}, {25, 1}, {30, 1}});
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 5D").SubIfd(0x8825, gps);
  const std::string path = uitest::WritePhoto(
      dir.File("poloha.jpg"), 64, 48, lumatrim::test::TiffBuilder(lumatrim::test::Order::Intel).Bytes(ifd0));
  const std::string before = ReadFile(path);
  const std::string pixels = uitest::DecodedPixels(path);
  PromptRecorder prompts;
  DetailsWindow window(Q(path));
  QSignalSpy removed(&window, &DetailsWindow::GpsRemoved);
  window.show();
  EXPECT_TRUE(window.RemoveGpsButton()->isEnabled());
  EXPECT_GE(Column(window.GeneralGrid(), 0).indexOf(QStringLiteral("Zeměpisná šířka")), 0)
      << Column(window.GeneralGrid(), 0).join(", ").toStdString();
  EXPECT_EQ(Column(window.GeneralGrid(), 1).value(0), QStringLiteral("50°5′30″ s. š., 14°25′30″ v. d.")) << "the position first";
  EXPECT_TRUE(window.MapLink()->text().contains(QStringLiteral("https://mapy.cz/"))) << window.MapLink()->text().toStdString();

  window.RemoveGpsButton()->click();  // answered No
  EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Opravdu chcete polohu (GPS) odstranit?")});
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(removed.count(), 0);

  prompts.answerYes = true;
  window.RemoveGpsButton()->click();
  EXPECT_EQ(removed.count(), 1);
  EXPECT_TRUE(window.isVisible());
  const QStringList general = Column(window.GeneralGrid(), 0);
  EXPECT_LT(general.indexOf(QStringLiteral("Zeměpisná šířka")), 0) << general.join(", ").toStdString();
  EXPECT_EQ(Column(window.GeneralGrid(), 1).value(general.indexOf(QStringLiteral("Model fotoaparátu"))),
            QStringLiteral("Canon EOS 5D"));
  EXPECT_FALSE(window.RemoveGpsButton()->isEnabled()) << "nothing left to remove";
  EXPECT_TRUE(window.MapLink()->text().isEmpty());
  EXPECT_EQ(uitest::DecodedPixels(path), pixels) << "the picture is not touched";

  DetailsWindow plain(Q(uitest::WritePhoto(dir.File("bez.jpg"), 64, 48)));
  EXPECT_FALSE(plain.RemoveGpsButton()->isEnabled());
}

}  // namespace
