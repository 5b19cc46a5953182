// The target folder chooser: what "OK", "Zavřít" and "Vytvořit složku" leave behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "support/JpegBuilder.h"
#include "test_dialogs_support.h"
#include "ui/cil/FormCil.h"

using lumatrim::test::PromptRecorder;
using lumatrim::test::TempDir;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

}  // namespace

TEST(FolderChooser, OkWritesTheSelectedFolderOrEmptyText) {
  TempDir dir;
  QLineEdit editCil(QStringLiteral("/previous"));

  {
    SCOPED_TRACE("nothing selected: OK writes empty text");
    TFormCil chooser(&editCil, nullptr);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Zvolit cíl..."));
    EXPECT_TRUE(chooser.SelectedFolder().isEmpty());
    chooser.ButOKClick();
    EXPECT_EQ(editCil.text(), QString());
  }
  {
    SCOPED_TRACE("a selected folder: OK writes its full path");
    TFormCil chooser(&editCil, nullptr);
    chooser.SelectFolder(Q(dir.Path()));
    EXPECT_EQ(chooser.SelectedFolder(), Q(dir.Path()));
    chooser.ButOKClick();
    EXPECT_EQ(editCil.text(), Q(dir.Path()));
  }
  {
    SCOPED_TRACE("Zavřít leaves the target as it was");
    editCil.setText(QStringLiteral("/kept"));
    TFormCil chooser(&editCil, nullptr);
    chooser.SelectFolder(Q(dir.Path()));
    chooser.ButZavClick();
    EXPECT_EQ(editCil.text(), QStringLiteral("/kept"));
  }
}

TEST(FolderChooser, CreatesAFolderUnderTheSelectedOne) {
  TempDir dir;
  const QString parent = Q(dir.Path());
  QLineEdit editCil;
  PromptRecorder prompts;

  {
    SCOPED_TRACE("no selection: no input box, nothing created");
    TFormCil chooser(&editCil, nullptr);
    chooser.ButSlozkaClick();
    EXPECT_TRUE(prompts.inputTitles.isEmpty());
  }

  TFormCil chooser(&editCil, nullptr);
  chooser.SelectFolder(parent);
  prompts.inputText = QStringLiteral("Výlet Šumava");
  chooser.ButSlozkaClick();
  ASSERT_EQ(prompts.inputTitles, QStringList{QStringLiteral("Vytvořit složku...")});
  EXPECT_EQ(prompts.inputPrompts, QStringList{QStringLiteral("Název složky")});
  EXPECT_EQ(prompts.inputInitial, QStringList{QString()});

  const QString created = parent + QStringLiteral("/Výlet Šumava");
  EXPECT_TRUE(QFileInfo(created).isDir());
  const QModelIndex node = chooser.Model()->index(created);
  ASSERT_TRUE(node.isValid()) << "the new folder is listed in the tree";
  EXPECT_EQ(chooser.Model()->filePath(node.parent()), parent);
  EXPECT_EQ(chooser.SelectedFolder(), parent) << "the selection stays on the parent";

  chooser.ButOKClick();
  EXPECT_EQ(editCil.text(), parent) << "OK still gives the parent until the new one is selected";
}

TEST(FolderChooser, BadNamesAndCancelCreateNothing) {
  TempDir dir;
  const QString parent = Q(dir.Path()) + QStringLiteral("/cil");
  ASSERT_TRUE(QDir().mkpath(parent));
  ASSERT_TRUE(QDir(parent).mkdir(QStringLiteral("a")));
  QLineEdit editCil;
  PromptRecorder prompts;
  TFormCil chooser(&editCil, nullptr);
  chooser.SelectFolder(parent);

  const QStringList before = Entries(parent);
  const QStringList outsideBefore = Entries(Q(dir.Path()));
  {
    SCOPED_TRACE("Cancel");
    prompts.inputOk = false;
    prompts.inputText = QStringLiteral("nova");
    chooser.ButSlozkaClick();
    prompts.inputOk = true;
  }
  for (const char* name : {"", ".", "..", "a", "a/b", "../venku", "x/y/z", "/tmp/abs"}) {
    SCOPED_TRACE(name);
    prompts.inputText = QString::fromUtf8(name);
    chooser.ButSlozkaClick();  // not reported, whatever happens
    EXPECT_TRUE(prompts.messages.isEmpty());
  }
  EXPECT_EQ(Entries(parent), before);
  EXPECT_TRUE(Entries(parent + QStringLiteral("/a")).isEmpty()) << "no nested folder in an existing one";
  EXPECT_EQ(Entries(Q(dir.Path())), outsideBefore) << "nothing created beside the selected folder";
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/abs")));
  EXPECT_EQ(chooser.SelectedFolder(), parent);
}

TEST(FolderChooser, LayoutAsDesigned) {
  QLineEdit editCil;
  TFormCil chooser(&editCil, nullptr);
  EXPECT_EQ(chooser.TreeCil->geometry(), QRect(8, 32, 249, 201));
  EXPECT_EQ(chooser.ButSlozka->text(), QStringLiteral("Vytvořit složku"));
  EXPECT_EQ(chooser.ButSlozka->geometry(), QRect(160, 8, 96, 21));
  EXPECT_EQ(chooser.ButZav->text(), QStringLiteral("Zavřít"));
  EXPECT_EQ(chooser.ButOK->geometry(), QRect(196, 240, 60, 21));
  EXPECT_TRUE(chooser.TreeCil->isHeaderHidden());
  EXPECT_FALSE(chooser.Model()->filter().testFlag(QDir::Files)) << "folders only";
  EXPECT_FALSE(chooser.Model()->filter().testFlag(QDir::Hidden));
}
