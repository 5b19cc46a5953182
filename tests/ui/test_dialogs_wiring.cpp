// The main window's "Pokračovat >" and "Podrobnosti" open the real dialogs:
// a batch from the tray empties it, and removing EXIF reloads the selection.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "core/exif/ImgData.h"
#include "support/JpegBuilder.h"
#include "test_dialogs_photos.h"
#include "test_dialogs_support.h"
#include "ui/fexif/FormExif.h"
#include "ui/main/FormDefault.h"
#include "ui/optimal/FormOpti.h"

using lumatrim::test::PromptRecorder;
using lumatrim::test::TempDir;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The main window started in a folder, as a user starts it there.
class DialogWiring : public ::testing::Test {
 protected:
  void SetUp() override {
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(Q(dir.Path()));
  }
  void TearDown() override {
    form.reset();
    QDir::setCurrent(previousFolder_);
  }
  void StartWindow() {
    form = std::make_unique<TFormDefault>();
    form->SetMessageSink([this](const QString& text) { windowMessages << text; });
    form->show();
  }
  template <typename T>
  T* Find(const char* name) {
    T* widget = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  // Runs what a user does inside the next modal dialog of type T, once it is up.
  template <typename T>
  void InDialog(std::function<void(T*)> steps) {
    QTimer::singleShot(0, form.get(), [this, steps] {
      T* dialog = form->findChild<T*>();
      ASSERT_NE(dialog, nullptr);
      ASSERT_TRUE(dialog->isVisible());
      // A step that leaves the dialog open must not hang the test program.
      QTimer::singleShot(20000, dialog, [dialog] {
        ADD_FAILURE() << "the dialog was still open";
        dialog->done(QDialog::Rejected);
      });
      steps(dialog);
    });
  }

  TempDir dir;
  std::unique_ptr<TFormDefault> form;
  QStringList windowMessages;
  PromptRecorder prompts;

 private:
  QString previousFolder_;
};

}  // namespace

TEST_F(DialogWiring, BatchFromTheTrayEmptiesItAndDisablesContinue) {
  lumatrim::test::MakePhoto(dir.File("jaro.jpg"), 400, 300);
  lumatrim::test::MakePhoto(dir.File("léto.jpg"), 300, 400);
  const std::string target = dir.File("hotové");
  ASSERT_TRUE(QDir().mkpath(Q(target)));
  StartWindow();
  auto* tray = Find<QListWidget>("ListTarget");
  auto* pokrac = Find<QPushButton>("ButPokrac");
  form->ButPresunClick();
  ASSERT_EQ(tray->count(), 2);
  ASSERT_TRUE(pokrac->isEnabled());

  QStringList handedOver;
  InDialog<TFormOpti>([&](TFormOpti* dialog) {
    for (int i = 0; i < dialog->ListZdroj->count(); ++i) handedOver << dialog->ListZdroj->item(i)->text();
    dialog->EditCil->setText(Q(target));
    dialog->RadVlast->click();
    dialog->EditSir->setText(QStringLiteral("150"));
    dialog->EditDel->setText(QStringLiteral("200"));
    dialog->ButProces->click();
  });
  pokrac->click();  // returns when the dialog has closed

  EXPECT_EQ(handedOver, (QStringList{Q(dir.File("jaro.jpg")), Q(dir.File("léto.jpg"))}));
  EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Optimalizace byla úspěšně dokončena.")});
  EXPECT_EQ(tray->count(), 0);
  EXPECT_FALSE(pokrac->isEnabled());
  EXPECT_EQ(lumatrim::test::PhotoSize(target + "/opt_jaro.jpg"), std::make_pair(200, 150));
  EXPECT_EQ(lumatrim::test::PhotoSize(target + "/opt_léto.jpg"), std::make_pair(150, 200));
}

TEST_F(DialogWiring, BackLeavesTheTrayAsItWas) {
  lumatrim::test::MakePhoto(dir.File("a.jpg"), 40, 30);
  StartWindow();
  form->ButPresunClick();
  InDialog<TFormOpti>([](TFormOpti* dialog) { dialog->ButZav->click(); });
  Find<QPushButton>("ButPokrac")->click();
  EXPECT_EQ(Find<QListWidget>("ListTarget")->count(), 1);
  EXPECT_TRUE(Find<QPushButton>("ButPokrac")->isEnabled());
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(DialogWiring, DetailWindowRemovingExifReloadsTheSelection) {
  if (lumatrim::test::CorpusDir().empty()) GTEST_SKIP() << "no corpus";
  const std::string path = lumatrim::test::WriteFile(
      dir.File("canon.jpg"), lumatrim::test::ReadFile(lumatrim::test::CorpusDir() + "/photos/canon_eos_20d_1.jpg"));
  StartWindow();
  Find<QListWidget>("ListFile")->setCurrentRow(0);
  auto* butExif = Find<QPushButton>("ButExif");
  ASSERT_TRUE(butExif->isEnabled()) << windowMessages.join("\n").toStdString();

  QString caption;
  prompts.answerYes = true;
  InDialog<TFormExif>([&](TFormExif* window) {
    caption = window->windowTitle();
    window->ButSmaz->click();
  });
  butExif->click();

  EXPECT_EQ(caption, QStringLiteral("canon.jpg"));
  EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Opravdu chcete EXIF (včetně miniatury) odstranit?")});
  lumatrim::TimgData meta;
  meta.ReadPhoto(path);
  EXPECT_FALSE(meta.ExifPresent());
  EXPECT_FALSE(butExif->isEnabled()) << "the reloaded selection has no EXIF any more";
}
