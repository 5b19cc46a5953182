// Every box speaks Czech: Qt's standard buttons, the failure sentences, and
// boxes that fit a small screen however long the path in them.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <memory>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "core/bytes/Error.h"
#include "ui/optimize/OptimizeDialog.h"
#include "ui/prompts/FailureText.h"
#include "ui/prompts/Prompts.h"

using lumatrim::FailureKind;
using lumatrim::LumatrimError;
using uitest::Q;

namespace {

QStringList ButtonTexts(const QList<QAbstractButton*>& buttons) {
  QStringList texts;
  for (const QAbstractButton* button : buttons) texts << button->text().remove(QLatin1Char('&'));
  texts.sort();
  return texts;
}

TEST(CzechBoxes, StandardButtonsComeFromQtsCzechTranslations) {
  std::unique_ptr<QMessageBox> question(Prompts::MakeQuestionBox(nullptr, QStringLiteral("Opravdu chcete IPTC data odstranit?")));
  EXPECT_EQ(ButtonTexts(question->buttons()), (QStringList{QStringLiteral("Ano"), QStringLiteral("Ne")}));
  EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::No)) << "Enter does not destroy data";
  EXPECT_EQ(question->windowTitle(), Prompts::kTitle);

  std::unique_ptr<QInputDialog> input(
      Prompts::MakeInputDialog(nullptr, QStringLiteral("Vytvořit složku..."), QStringLiteral("Název složky"), {}));
  const auto* buttons = input->findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  EXPECT_EQ(ButtonTexts(buttons->buttons()), (QStringList{QStringLiteral("OK"), QStringLiteral("Zrušit")}));
}

TEST(CzechBoxes, LongMessagesWrapInsideANarrowBoxAndInputsFitTheirTitleAndValue) {
  const QString path = QStringLiteral("/home/uživatel/Obrázky/") + QString(220, QLatin1Char('x')) + QStringLiteral(".jpg");
  const QString text = failuretext::Message(
      QStringLiteral("Optimalizace se nezdařila."),
      LumatrimError(FailureKind::NameTooLong, "Cannot write file \"" + path.toStdString() +
                                                  "\": cannot create a file in its folder (File name too long)."));
  std::unique_ptr<QMessageBox> box(Prompts::MakeMessageBox(nullptr, QMessageBox::Warning, text, QMessageBox::Ok));
  box->show();
  QCoreApplication::processEvents();
  EXPECT_LE(box->width(), Prompts::kMaxBoxWidth);
  const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  ASSERT_NE(label, nullptr);
  EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "every wrapped line is shown";
  EXPECT_TRUE(box->button(QMessageBox::Ok)->geometry().right() < box->width()) << "OK stays inside the box";

  struct Case {
    const char* what;
    QString title, value;
  } cases[] = {{"title", QStringLiteral("Vytvořit složku..."), {}},
               {"long caption", QStringLiteral("Caption/Abstract"), QString(30, QLatin1Char('m'))}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<QInputDialog> input(Prompts::MakeInputDialog(nullptr, c.title, QStringLiteral("Zadejte hodnotu "), c.value));
    const QFontMetrics metrics(input->font());
    EXPECT_GT(input->width(), metrics.horizontalAdvance(c.title) + 100);
    EXPECT_GT(input->width(), metrics.horizontalAdvance(c.value));
    EXPECT_LE(input->width(), Prompts::kMaxBoxWidth);
  }
}

TEST(CzechBoxes, EveryFailureKindIsACzechSentenceWithTheDetailBelow) {
  const std::pair<FailureKind, const char*> sentences[] = {
      {FailureKind::FileMissing, "Soubor nebo složka neexistuje."},
      {FailureKind::NotJpeg, "Soubor není fotografie JPEG."},
      {FailureKind::DamagedData, "Data fotografie jsou poškozená nebo neúplná."},
      {FailureKind::NoSpace, "Na disku není dost místa."},
      {FailureKind::NoPermission, "Do složky nebo souboru nemáte oprávnění zapisovat nebo z nich číst."},
      {FailureKind::NameTooLong, "Název souboru nebo cesta je příliš dlouhá."},
      {FailureKind::Other, "Nastala neočekávaná chyba."},
  };
  for (const auto& [kind, sentence] : sentences) {
    const QString message = failuretext::Message(QStringLiteral("Uložení se nezdařilo."), LumatrimError(kind, "technical"));
    EXPECT_EQ(message, QStringLiteral("Uložení se nezdařilo. ") + QString::fromUtf8(sentence) + QStringLiteral("\ntechnical"));
  }
  // Exceptions from outside the program have no kind.
  EXPECT_EQ(failuretext::Message({}, std::runtime_error("x")), QStringLiteral("Nastala neočekávaná chyba.\nx"));
}

TEST(CzechBoxes, AFailedBatchSaysInCzechWhatFailedAndWhy) {
  lumatrim::test::TempDir dir;
  lumatrim::test::PromptRecorder prompts;
  const std::string broken = lumatrim::test::WriteFile(dir.File("rozbitá.jpg"), "this is not a JPEG");
  OptimizeDialog dialog;
  QSignalSpy ended{&dialog, &OptimizeDialog::BatchEnded};
  dialog.show();
  dialog.SetSources({Q(broken)});
  std::filesystem::create_directory(dir.File("cíl"));
  dialog.TargetFolderEdit()->setText(Q(dir.File("cíl")));
  dialog.TickOnlyPreset(QStringLiteral("Vlastní"));
  dialog.OriginalSizeRadio()->click();
  dialog.StartButton()->click();
  ASSERT_TRUE(lumatrim::test::WaitUntil([&] { return ended.count() == 1; }));
  ASSERT_EQ(prompts.errors.size(), 1);
  const QStringList lines = prompts.errors[0].split(QLatin1Char('\n'));
  EXPECT_EQ(lines[0], QStringLiteral("Optimalizace skončila, ale některé fotografie se nepodařilo zpracovat."));
  EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("„rozbitá.jpg“: Soubor není fotografie JPEG nebo je poškozený.")));
  EXPECT_TRUE(prompts.errors[0].contains(Q(broken))) << "the technical detail names the photo";
}

}  // namespace
