// The optimisation dialog as a new user meets it: presets ticked for the run,
// a target suggested beside the photos, the first name and the size shown
// before the run, the question about an earlier run's files, the user's
// own presets kept; and whole folders added to the tray.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "settings/PresetStore.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/optimize/OptimizeDialog.h"

using lumatrim::test::WaitUntil;
using uitest::Q;

namespace {

TEST(SharingDialog, OpensOnPresetsWithATargetANameAndAnEstimate) {
  lumatrim::test::TempDir dir;
  OptimizeDialog dialog;
  QSignalSpy estimated(&dialog, &OptimizeDialog::EstimateShown);
  QStringList rows;
  for (int row = 0; row < dialog.PresetList()->count(); ++row) rows << dialog.PresetList()->item(row)->text();
  EXPECT_EQ(rows, (QStringList{"E-mail", "Web a sociální sítě", "Tisk 13 × 18", "Jen zmenšit datovou velikost",
                               "Vlastní"}));
  EXPECT_EQ(dialog.TickedPresets(), QStringList{"Web a sociální sítě"});
  EXPECT_FALSE(dialog.EnlargeCheck()->isChecked());
  EXPECT_TRUE(dialog.KeepIfSmallerCheck()->isChecked());

  dialog.SetSources({Q(uitest::WritePhoto(dir.File("krajina.jpg"), 640, 480))});
  EXPECT_EQ(dialog.TargetFolderEdit()->text(), Q(dir.File("Lumatrim")));
  EXPECT_TRUE(dialog.StartButton()->isEnabled()) << dialog.StartButton()->toolTip().toStdString();
  EXPECT_EQ(dialog.NamePreviewLabel()->text(), QStringLiteral("→ opt_krajina.jpg"));
  dialog.NamePatternEdit()->setText(QStringLiteral("{pořadí:3}_{název}"));
  EXPECT_EQ(dialog.NamePreviewLabel()->text(), QStringLiteral("→ 001_krajina.jpg"));
  ASSERT_TRUE(WaitUntil([&] { return estimated.count() > 0; }));
  EXPECT_TRUE(dialog.EstimateLabel()->text().startsWith(QStringLiteral("Odhad: "))) << dialog.EstimateLabel()->text().toStdString();
  dialog.SetSources({Q(dir.File("telefon.HEIC"))});
  EXPECT_EQ(dialog.NamePreviewLabel()->text(), QStringLiteral("→ 001_telefon.jpg")) << "written as a JPEG";
}

// E-mail and print ticked together: one run each, into its own subfolder, with
// the preset's size and quality; a second run asks once what to do with
// the files already there.
TEST(SharingDialog, SeveralPresetsWriteIntoSubfoldersAndOldFilesAreAskedAbout) {
  lumatrim::test::TempDir dir;
  lumatrim::test::PromptRecorder prompts;
  OptimizeDialog dialog;
  QSignalSpy ended(&dialog, &OptimizeDialog::BatchEnded);
  dialog.SetSources({Q(uitest::WritePhoto(dir.File("velká.jpg"), 1600, 1200))});
  dialog.SetPresetTicked(QStringLiteral("E-mail"), true);
  dialog.SetPresetTicked(QStringLiteral("Web a sociální sítě"), false);
  dialog.SetPresetTicked(QStringLiteral("Tisk 13 × 18"), true);
  const std::vector<lumatrim::OptimizeSettings> runs = dialog.PlannedRuns();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].TargetFolder, dir.File("Lumatrim/e-mail"));
  EXPECT_EQ(runs[0].LongSide, 1280);
  EXPECT_EQ(runs[0].Quality, lumatrim::QualityMode::Automatic);
  EXPECT_EQ(runs[1].TargetFolder, dir.File("Lumatrim/tisk"));
  EXPECT_EQ(runs[1].Compression, 8);

  prompts.answerYes = true;  // make the suggested folder
  dialog.show();
  dialog.StartButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; }));
  EXPECT_EQ(uitest::PhotoSize(dir.File("Lumatrim/e-mail/opt_velká.jpg")), std::make_pair(1280, 960));
  EXPECT_EQ(uitest::PhotoSize(dir.File("Lumatrim/tisk/opt_velká.jpg")), std::make_pair(1600, 1200)) << "not enlarged";
  ASSERT_EQ(prompts.choices.size(), 1);
  EXPECT_TRUE(prompts.choices[0].startsWith(QStringLiteral("Hotovo: 1 fotografie, "))) << prompts.choices[0].toStdString();

  OptimizeDialog again;
  QSignalSpy endedAgain(&again, &OptimizeDialog::BatchEnded);
  again.SetSources({Q(dir.File("velká.jpg"))});
  EXPECT_EQ(again.TickedPresets(), (QStringList{"E-mail", "Tisk 13 × 18"})) << "remembered";
  again.show();
  prompts.choiceAnswer = 1;  // "Přeskočit"
  again.StartButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return endedAgain.count() == 1; }));
  ASSERT_EQ(prompts.choices.size(), 3);
  EXPECT_EQ(prompts.choices[1], QStringLiteral("V cílové složce už jsou soubory se stejnými názvy (2). Co s nimi?"));
  EXPECT_TRUE(prompts.choices[2].contains(QStringLiteral("Přeskočeno (už existovaly): 2"))) << prompts.choices[2].toStdString();
  EXPECT_EQ(QDir(Q(dir.File("Lumatrim/tisk"))).entryList(QDir::Files).size(), 1);
}

// A preset saved in one dialog is there in the next and in the settings
// file the command line reads; a default cannot be replaced; one can go.
TEST(SharingDialog, UserPresetsAreKeptByName) {
  lumatrim::test::PromptRecorder prompts;
  {
    OptimizeDialog dialog;
    dialog.TickOnlyPreset(QStringLiteral("Vlastní"));
    dialog.FixedLengthRadio()->click();
    dialog.LengthEdit()->setText(QStringLiteral("1600"));
    prompts.inputText = QStringLiteral("E-mail");
    dialog.SavePresetClicked();
    EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("Předvolbu „E-mail“ nelze přepsat; zvolte jiný název.")});
    prompts.inputText = QStringLiteral("Můj web");
    dialog.SavePresetClicked();
    dialog.BackClicked();
  }
  const std::vector<lumatrim::OptimizePreset> stored = LoadUserPresets(*ProgramSettings());
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].Name, "Můj web");
  EXPECT_EQ(stored[0].LongSide, 1600);
  EXPECT_EQ(stored[0].Rule, lumatrim::SizeRule::LongSideFixed);
  EXPECT_EQ(AllPresets(*ProgramSettings()).back().Subfolder, "muj-web");

  OptimizeDialog next;
  EXPECT_TRUE(next.TickedPresets().contains(QStringLiteral("Můj web")));
  QListWidget* list = next.PresetList();
  list->setCurrentRow(list->count() - 1);
  prompts.answerYes = true;
  next.DeletePresetClicked();
  EXPECT_TRUE(LoadUserPresets(*ProgramSettings()).empty());
  EXPECT_EQ(list->count(), 5);
}

// "VLASTNÍ" would be taken for "Vlastní"; "Muj web" and "Můj web" share a folder.
TEST(SharingDialog, PresetNamesCannotBeTakenForAnother) {
  lumatrim::test::PromptRecorder prompts;
  OptimizeDialog dialog;
  dialog.TickOnlyPreset(QStringLiteral("Vlastní"));
  for (const char* name : {"VLASTNÍ", "Muj web", "Můj web"}) {
    prompts.inputText = QString::fromUtf8(name);
    dialog.SavePresetClicked();
  }
  EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("Název „VLASTNÍ“ se od předvolby „Vlastní“ liší jen velikostí "
                                                       "písmen; zvolte jiný název.")});
  dialog.TickOnlyPreset(QStringLiteral("Muj web"));
  dialog.SetPresetTicked(QStringLiteral("Můj web"), true);
  EXPECT_FALSE(dialog.StartButton()->isEnabled());
  EXPECT_EQ(dialog.StartButton()->toolTip(), QStringLiteral("Předvolby „Muj web“ a „Můj web“ by zapsaly do stejné "
                                                            "podsložky „muj-web“; jednu z nich přejmenujte nebo ji nezaškrtávejte."));
  SaveUserPresets(*ProgramSettings(), {});
}

// A settings file edited by hand: entries that make no sense are left out,
// and none takes the place of a default preset.
TEST(SharingDialog, BrokenUserPresetsAreLeftOut) {
  lumatrim::test::TempDir dir;
  lumatrim::test::WriteFile(dir.File("lumatrim.conf"),
                            "[presets]\nsize=6\n"
                            "1\\name=Dobrá\n1\\sizeRule=long\n1\\longSide=900\n1\\quality=fixed\n"
                            "2\\name=\n2\\sizeRule=long\n2\\quality=fixed\n"
                            "3\\name=Obří\n3\\sizeRule=long\n3\\longSide=99999\n3\\quality=fixed\n"
                            "4\\name=Divná\n4\\sizeRule=diagonal\n4\\quality=fixed\n"
                            "5\\name=e-mail\n5\\sizeRule=short\n5\\shortSide=10\n5\\quality=fixed\n"
                            "6\\name=vlastní\n6\\sizeRule=long\n6\\longSide=10\n6\\quality=fixed\n");
  QSettings file(Q(dir.File("lumatrim.conf")), QSettings::IniFormat);
  const std::vector<lumatrim::OptimizePreset> all = AllPresets(file);
  ASSERT_EQ(all.size(), lumatrim::DefaultPresets().size() + 1);
  EXPECT_EQ(all.back().Name, "Dobrá");
  EXPECT_EQ(all.back().LongSide, 900);
  EXPECT_EQ(lumatrim::FindPreset(all, "E-mail")->LongSide, 1280) << "a default stays a default";
}

TEST(SharingTray, WholeFoldersJoinTheTrayWithTheirTree) {
  uitest::WorkingFolder dir;
  for (const char* path : {"výlet/a.jpg", "výlet/den 2/b.jpg", "výlet/den 2/c.txt"}) {
    QDir().mkpath(QFileInfo(Q(dir.File(path))).absolutePath());
    uitest::WritePhoto(dir.File(path), 40, 30);
  }
  MainWindow window;
  window.SetIncludeSubfolders(true);
  window.AddFoldersToTray({Q(dir.File("výlet"))});
  ASSERT_TRUE(WaitUntil([&] { return window.TrayPaths().size() == 2; }));
  EXPECT_EQ(window.TrayPaths(), (QStringList{Q(dir.File("výlet/a.jpg")), Q(dir.File("výlet/den 2/b.jpg"))}));
  EXPECT_EQ(window.TraySubfolders(), (QStringList{"", "den 2"}));
  window.SetIncludeSubfolders(false);
  window.AddFoldersToTray({Q(dir.File("výlet/den 2"))});
  ASSERT_TRUE(WaitUntil([&] { return window.TrayPaths().size() == 3; }));
  EXPECT_EQ(window.TraySubfolders().last(), QString());
}

}  // namespace
