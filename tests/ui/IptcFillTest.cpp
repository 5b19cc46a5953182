// "Doplnit IPTC…": the tray's photos get the items filled in, each written on
// its own; a read-only photo is named in the summary and left as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>

#include "UiTestPhotos.h"
#include "ui/iptcfill/IptcFillDialog.h"

using lumatrim::test::PromptRecorder;
using lumatrim::test::ReadFile;
using lumatrim::test::TempDir;
using uitest::Q;

TEST(IptcFill, everyTrayPhotoIsWrittenAndAReadOnlyOneIsReported) {
  QProcess probe;
  probe.start(QStringLiteral("exiftool"), {QStringLiteral("-ver")});
  if (!probe.waitForFinished(30000) || probe.exitCode() != 0) GTEST_SKIP() << "exiftool is not installed";
  TempDir dir;
  QStringList paths;
  for (int i = 0; i < 20; ++i) paths << Q(uitest::WritePhoto(dir.File("foto" + std::to_string(i) + ".jpg"), 32, 24));
  const std::string locked = uitest::WritePhoto(dir.File("zamčená.jpg"), 32, 24);
  ::chmod(locked.c_str(), 0444);
  const std::string lockedBefore = ReadFile(locked);
  paths << Q(locked);

  PromptRecorder prompts;
  IptcFillDialog dialog(paths);
  dialog.Field("ByLine")->setText(QStringLiteral("Jan Novák"));
  dialog.Field("City")->setText(QStringLiteral("Plzeň"));
  dialog.Field("Keywords")->setText(QStringLiteral("hrad Karlštejn; léto"));
  EXPECT_TRUE(dialog.Note()->text().isEmpty());
  dialog.Field("Keywords")->setText(QStringLiteral("léto, ") + QString(70, QLatin1Char('x')));
  EXPECT_TRUE(dialog.Note()->text().contains(QStringLiteral("IPTC dovoluje nejvýše 64"))) << "told as it is typed";
  dialog.Field("Keywords")->setText(QStringLiteral("hrad Karlštejn; léto"));
  dialog.FillButton()->click();

  EXPECT_EQ(dialog.Progress()->value(), 21);
  ASSERT_EQ(prompts.errors.size(), 1);
  EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("IPTC doplněno do 20 z 21 fotografií."))) << prompts.errors[0].toStdString();
  EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("zamčená.jpg"))) << prompts.errors[0].toStdString();
  EXPECT_EQ(ReadFile(locked), lockedBefore);

  QProcess exiftool;
  exiftool.start(QStringLiteral("exiftool"),
                 QStringList{"-T", "-sep", "|", "-IPTC:By-line", "-IPTC:City", "-IPTC:Keywords"} + paths.mid(0, 20));
  ASSERT_TRUE(exiftool.waitForFinished(60000));
  const QStringList lines = QString::fromUtf8(exiftool.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
  EXPECT_EQ(lines.size(), 20);
  for (const QString& line : lines) EXPECT_EQ(line, QStringLiteral("Jan Novák\tPlzeň\thrad Karlštejn|léto"));
}
