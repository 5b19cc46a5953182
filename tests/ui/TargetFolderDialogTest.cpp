// The target folder chooser: what "OK", "Zavřít" and "Vytvořit složku" leave behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "ui/targetfolder/TargetFolderDialog.h"

namespace {

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

TEST(FolderChooser, OkWritesTheSelectedFolderOrEmptyTextAndCloseKeepsIt) {
  lumatrim::test::TempDir dir;
  const QString folder = QString::fromStdString(dir.Path());
  QLineEdit targetEdit(QStringLiteral("/previous"));
  TargetFolderDialog(&targetEdit, nullptr).OkClicked();
  EXPECT_EQ(targetEdit.text(), QString()) << "nothing selected";

  TargetFolderDialog chooser(&targetEdit, nullptr);
  chooser.SelectFolder(folder);
  chooser.OkClicked();
  EXPECT_EQ(targetEdit.text(), folder);

  targetEdit.setText(QStringLiteral("/kept"));
  TargetFolderDialog closed(&targetEdit, nullptr);
  closed.SelectFolder(folder);
  closed.CloseClicked();
  EXPECT_EQ(targetEdit.text(), QStringLiteral("/kept"));
}

TEST(FolderChooser, CreatesAFolderUnderTheSelectedOneAndNowhereElse) {
  lumatrim::test::TempDir dir;
  const QString parent = QString::fromStdString(dir.Path()) + QStringLiteral("/cil");
  ASSERT_TRUE(QDir().mkpath(parent + QStringLiteral("/a")));
  QLineEdit targetEdit;
  lumatrim::test::PromptRecorder prompts;
  TargetFolderDialog(&targetEdit, nullptr).NewFolderClicked();
  EXPECT_TRUE(prompts.inputTitles.isEmpty()) << "no selection: no input box";

  TargetFolderDialog chooser(&targetEdit, nullptr);
  chooser.SelectFolder(parent);
  const QStringList outsideBefore = Entries(QString::fromStdString(dir.Path()));
  prompts.inputOk = false;  // Cancel
  prompts.inputText = QStringLiteral("nova");
  chooser.NewFolderClicked();
  prompts.inputOk = true;
  for (const char* name : {"", ".", "..", "a", "a/b", "../venku", "x/y/z", "/tmp/abs"}) {
    prompts.inputText = QString::fromUtf8(name);
    chooser.NewFolderClicked();
  }
  EXPECT_EQ(Entries(parent), QStringList{QStringLiteral("a")});
  EXPECT_TRUE(Entries(parent + QStringLiteral("/a")).isEmpty());
  EXPECT_EQ(Entries(QString::fromStdString(dir.Path())), outsideBefore);
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/abs")));
  EXPECT_TRUE(prompts.messages.isEmpty());

  prompts.inputText = QStringLiteral("Výlet Šumava");
  chooser.NewFolderClicked();
  EXPECT_EQ(prompts.inputTitles.last(), QStringLiteral("Vytvořit složku..."));
  EXPECT_EQ(prompts.inputPrompts.last(), QStringLiteral("Název složky"));
  const QString created = parent + QStringLiteral("/Výlet Šumava");
  EXPECT_TRUE(QFileInfo(created).isDir());
  const QModelIndex node = chooser.Model()->index(created);
  ASSERT_TRUE(node.isValid()) << "the new folder is listed in the tree";
  EXPECT_EQ(chooser.Model()->filePath(node.parent()), parent);
  chooser.OkClicked();
  EXPECT_EQ(targetEdit.text(), parent) << "the selection stays on the parent";
}

TEST(FolderChooser, OpensAtTheCurrentTargetAndFollowsATypedPath) {
  lumatrim::test::TempDir dir;
  const QString folder = QString::fromStdString(dir.Path());
  ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/a/b")));
  QLineEdit targetEdit(folder + QStringLiteral("/a"));
  TargetFolderDialog chooser(&targetEdit, nullptr);
  EXPECT_EQ(chooser.SelectedFolder(), folder + QStringLiteral("/a")) << "opens where the target is";
  auto* path = chooser.findChild<QLineEdit*>(QStringLiteral("pathEdit"));
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->text(), folder + QStringLiteral("/a"));
  EXPECT_NE(path->completer(), nullptr);
  struct Typed {
    QString text;
    QString selected;
  } cases[] = {
      {folder + QStringLiteral("/a/b"), folder + QStringLiteral("/a/b")},
      {folder + QStringLiteral("/a/nothing"), folder + QStringLiteral("/a/b")},  // half typed: stays
      {folder + QStringLiteral("/a/"), folder + QStringLiteral("/a")},
  };
  for (const Typed& typed : cases) {
    path->setText(typed.text);
    emit path->textEdited(typed.text);
    EXPECT_EQ(chooser.SelectedFolder(), typed.selected) << typed.text.toStdString();
    EXPECT_EQ(path->text(), typed.text) << "the typing is not overwritten";
  }
  chooser.OkClicked();
  EXPECT_EQ(targetEdit.text(), folder + QStringLiteral("/a"));
}

}  // namespace
