// The main window's "Pokračovat >" and "Podrobnosti" open the real dialogs:
// a batch from the tray empties it, and removing EXIF reloads the selection.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "core/photo/PhotoReader.h"
#include "ui/details/DetailsWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/optimize/OptimizeDialog.h"

using uitest::Q;

namespace {

// The main window started in a folder, as a user starts it there.
class DialogWiring : public ::testing::Test {
 protected:
  void TearDown() override { form.reset(); }
  void StartWindow() {
    form = std::make_unique<MainWindow>();
    form->show();
    tray = form->findChild<QListWidget*>(QStringLiteral("trayList"));
    continueButton = form->findChild<QPushButton*>(QStringLiteral("continueButton"));
  }
  // Runs what a user does inside the next modal dialog of type T, once it is up.
  template <typename T>
  void InDialog(std::function<void(T*)> steps) {
    QTimer::singleShot(0, form.get(), [this, steps] {
      T* dialog = nullptr;  // an earlier dialog may still wait for its deletion
      for (T* open : form->findChildren<T*>()) dialog = open->isVisible() ? open : dialog;
      ASSERT_NE(dialog, nullptr);
      QTimer::singleShot(20000, dialog, [dialog] {  // a dialog left open must not hang the tests
        ADD_FAILURE() << "the dialog was still open";
        dialog->done(QDialog::Rejected);
      });
      steps(dialog);
    });
  }

  uitest::WorkingFolder dir;
  std::unique_ptr<MainWindow> form;
  QListWidget* tray = nullptr;
  QPushButton* continueButton = nullptr;
  lumatrim::test::PromptRecorder prompts;
};

TEST_F(DialogWiring, BatchFromTheTrayEmptiesItAndBackKeepsIt) {
  uitest::WritePhoto(dir.File("jaro.jpg"), 400, 300);
  uitest::WritePhoto(dir.File("léto.jpg"), 300, 400);
  const std::string target = dir.File("hotové");
  ASSERT_TRUE(QDir().mkpath(Q(target)));
  StartWindow();
  form->MoveAllClicked();
  InDialog<OptimizeDialog>([](OptimizeDialog* dialog) { dialog->BackButton()->click(); });
  continueButton->click();
  EXPECT_EQ(tray->count(), 2) << "back leaves the tray as it was";
  EXPECT_TRUE(continueButton->isEnabled());

  QStringList handedOver;
  InDialog<OptimizeDialog>([&](OptimizeDialog* dialog) {
    handedOver = dialog->Sources();
    dialog->TargetFolderEdit()->setText(Q(target));
    dialog->TickOnlyPreset(QStringLiteral("Vlastní"));
    dialog->CustomSizeRadio()->click();
    dialog->WidthEdit()->setText(QStringLiteral("150"));
    dialog->LengthEdit()->setText(QStringLiteral("200"));
    dialog->StartButton()->click();
  });
  continueButton->click();  // returns when the dialog has closed

  EXPECT_EQ(handedOver, (QStringList{Q(dir.File("jaro.jpg")), Q(dir.File("léto.jpg"))}));
  ASSERT_EQ(prompts.choices.size(), 1);
  EXPECT_TRUE(prompts.choices[0].startsWith(QStringLiteral("Hotovo: 2 fotografie, "))) << prompts.choices[0].toStdString();
  EXPECT_EQ(tray->count(), 0);
  EXPECT_FALSE(continueButton->isEnabled());
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_jaro.jpg"), std::make_pair(200, 150));
  EXPECT_EQ(uitest::PhotoSize(target + "/opt_léto.jpg"), std::make_pair(150, 200));
}

// A batch with a damaged photo: the tray keeps just that photo, so the user
// sees at once what is left to do.
TEST_F(DialogWiring, TrayKeepsOnlyThePhotosThatFailed) {
  uitest::WritePhoto(dir.File("a.jpg"), 200, 150);
  lumatrim::test::WriteFile(dir.File("b.jpg"), "not a photo");
  uitest::WritePhoto(dir.File("c.jpg"), 200, 150);
  StartWindow();
  form->MoveAllClicked();
  InDialog<OptimizeDialog>([&](OptimizeDialog* dialog) {
    dialog->TargetFolderEdit()->setText(Q(dir.Path()));
    dialog->TickOnlyPreset(QStringLiteral("Vlastní"));
    dialog->OriginalSizeRadio()->click();
    dialog->StartButton()->click();
  });
  continueButton->click();
  ASSERT_EQ(tray->count(), 1);
  EXPECT_EQ(tray->item(0)->text(), Q(dir.File("b.jpg")));
  EXPECT_TRUE(continueButton->isEnabled());
  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("„b.jpg“"))) << prompts.errors[0].toStdString();
}

// Closing the main window while a long batch runs stops the batch as
// "Přerušit" does: the window closes, the photos written are complete and no
// temporary file is left.
TEST_F(DialogWiring, ClosingTheWindowStopsARunningBatch) {
  const std::string photo = uitest::PhotoBytes(1200, 900);
  for (int i = 0; i < 60; ++i) lumatrim::test::WriteFile(dir.File("p" + std::to_string(i) + ".jpg"), photo);
  const std::string target = dir.File("out");
  ASSERT_TRUE(QDir().mkpath(Q(target)));
  StartWindow();
  form->MoveAllClicked();
  InDialog<OptimizeDialog>([&](OptimizeDialog* dialog) {
    dialog->TargetFolderEdit()->setText(Q(target));
    dialog->TickOnlyPreset(QStringLiteral("Vlastní"));
    dialog->OriginalSizeRadio()->click();
    dialog->StartButton()->click();
    lumatrim::test::WaitUntil([&] { return !QDir(Q(target)).isEmpty(QDir::Files); });
    form->close();
  });
  continueButton->click();  // returns when the dialog has gone
  EXPECT_FALSE(form->isVisible());
  const QStringList files = QDir(Q(target)).entryList(QDir::Files | QDir::Hidden);
  EXPECT_LT(files.size(), 60) << "stopped part way";
  for (const QString& file : files) {
    EXPECT_TRUE(file.startsWith(QStringLiteral("opt_"))) << "left behind: " << file.toStdString();
    EXPECT_EQ(uitest::PhotoSize(target + "/" + file.toStdString()), std::make_pair(1200, 900));
  }
  EXPECT_TRUE(prompts.messages.isEmpty()) << "no summary for a window that is closing";
}

TEST_F(DialogWiring, DetailWindowRemovingExifReloadsTheSelection) {
  if (lumatrim::test::CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  const std::string path = lumatrim::test::WriteFile(
      dir.File("canon.jpg"), lumatrim::test::ReadFile(lumatrim::test::CorpusDir() + "/photos/canon_eos_20d_1.jpg"));
  StartWindow();
  form->findChild<QListWidget*>(QStringLiteral("fileList"))->setCurrentRow(0);
  auto* detailsButton = form->findChild<QPushButton*>(QStringLiteral("detailsButton"));
  ASSERT_TRUE(detailsButton->isEnabled());

  QString caption;
  prompts.answerYes = true;
  InDialog<DetailsWindow>([&](DetailsWindow* window) {
    caption = window->windowTitle();
    window->RemoveExifButton()->click();
  });
  detailsButton->click();

  EXPECT_EQ(caption, QStringLiteral("canon.jpg"));
  const lumatrim::PhotoMetadata meta = lumatrim::ReadPhotoMetadata(path);
  EXPECT_FALSE(meta.ExifPresent());
  EXPECT_TRUE(detailsButton->isEnabled()) << "the reloaded photo has no EXIF any more, but IPTC can be added";
}

}  // namespace
