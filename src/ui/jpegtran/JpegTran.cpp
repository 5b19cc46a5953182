#include "ui/jpegtran/JpegTran.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/bytes/Error.h"
#include "core/jpeg/JpegImage.h"
#include "ui/main/AppTitle.h"

namespace {

// Start codes in the sense of the old process start call: below 32 is a failure.
constexpr int kCodeFileNotFound = 2;
constexpr int kCodeAccessDenied = 5;

QString Quoted(const QString& path) { return QStringLiteral("„%1“").arg(QFileInfo(path).fileName()); }

// The tool's own complaint, one line, without its program-name prefix noise.
QString ToolComplaint(QProcess& process) {
  QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
  if (text.isEmpty()) text = QStringLiteral("návratový kód %1").arg(process.exitCode());
  return text.section(QLatin1Char('\n'), 0, 0);
}

// Decodes the tool's output completely (at 1/8 size, which still walks every
// coded block) and checks that width and height were swapped.
bool OutputIsRotated(const QString& output, int sourceWidth, int sourceHeight) {
  try {
    lumatrim::JpegImage image;
    image.LoadFromFile(output.toStdString());
    if (image.Width() != sourceHeight || image.Height() != sourceWidth) return false;
    image.Decode(8);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

TJpegTran::TJpegTran(QObject* owner) : TJpegTran(owner, ToolPath()) {}

TJpegTran::TJpegTran(QObject* owner, const QString& toolPath) : QObject(owner), tool_(toolPath) {
  FToolFound = !tool_.isEmpty() && QFileInfo(tool_).isFile();
}

QString TJpegTran::ToolPath() {
  QString folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
  if (!folder.isEmpty()) {
    QString beside = folder.endsWith(QLatin1Char('/')) ? folder + QStringLiteral("jpegtran")
                                                       : folder + QStringLiteral("/jpegtran");
    QFileInfo info(beside);
    if (info.isFile() && info.isExecutable()) return info.absoluteFilePath();
  }
  return QStandardPaths::findExecutable(QStringLiteral("jpegtran"));
}

QString TJpegTran::SuffixedName(const QString& path, const QString& suffix) {
  qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return suffix + path;
  return path.left(dot) + suffix + path.mid(dot);
}

QString TJpegTran::RotateLeft(const QString& path, bool inPlace) { return Rotate(path, inPlace, QStringLiteral("270")); }

QString TJpegTran::RotateRight(const QString& path, bool inPlace) { return Rotate(path, inPlace, QStringLiteral("90")); }

QString TJpegTran::Rotate(const QString& path, bool inPlace, const QString& angle) {
  QString output = inPlace ? path : SuffixedName(path, QStringLiteral("_rot"));
  QStringList switches{QStringLiteral("-copy"), QStringLiteral("all"), QStringLiteral("-rotate"), angle};
  return RunTool(path, output, switches) ? output : QString();
}

bool TJpegTran::RunTool(const QString& input, const QString& output, const QStringList& switches) {
  lastMessage_.clear();
  if (tool_.isEmpty() || !QFileInfo(tool_).isFile()) {
    Report(QStringLiteral("JpegTran WinExec Error: %1").arg(kCodeFileNotFound));
    return false;
  }
  QFileInfo inputInfo(input);
  if (input.isEmpty() || !inputInfo.isFile()) {
    Report(QStringLiteral("Fotografie %1 nebyla nalezena.").arg(Quoted(input)));
    return false;
  }
  int sourceWidth = 0, sourceHeight = 0;
  try {
    lumatrim::JpegImage source;
    source.LoadFromFile(input.toStdString());
    sourceWidth = source.Width();
    sourceHeight = source.Height();
  } catch (const std::exception& e) {
    Report(QStringLiteral("Fotografii %1 nelze otočit: %2").arg(Quoted(input), QString::fromStdString(e.what())));
    return false;
  }

  // Rotating in place through a symbolic link turns the photo it points to.
  QString target = output;
  if (QFileInfo(output).isSymLink()) target = QFileInfo(output).canonicalFilePath();
  QFileInfo targetInfo(target);

  QTemporaryFile temp(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName() +
                      QStringLiteral(".XXXXXX"));
  if (!temp.open()) {
    Report(QStringLiteral("Do složky „%1“ nelze zapisovat.").arg(QDir::toNativeSeparators(targetInfo.absolutePath())));
    return false;
  }
  temp.close();

  QProcess process;
  process.setProgram(tool_);
  process.setArguments(switches + QStringList{QStringLiteral("-outfile"), temp.fileName(), input});
  process.setStandardInputFile(QProcess::nullDevice());
  process.start();
  if (!process.waitForStarted()) {
    int code = QFileInfo(tool_).isFile() ? kCodeAccessDenied : kCodeFileNotFound;
    Report(QStringLiteral("JpegTran WinExec Error: %1").arg(code));
    return false;
  }
  if (!process.waitForFinished(timeLimitMs_)) {
    process.kill();
    process.waitForFinished();
    Report(QStringLiteral("Otáčení fotografie %1 trvalo příliš dlouho a bylo přerušeno; fotografie zůstala beze změny.")
               .arg(Quoted(input)));
    return false;
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    Report(QStringLiteral("Fotografii %1 se nepodařilo otočit; zůstala beze změny.\n%2")
               .arg(Quoted(input), ToolComplaint(process)));
    return false;
  }
  if (!OutputIsRotated(temp.fileName(), sourceWidth, sourceHeight)) {
    Report(QStringLiteral("Otočená fotografie %1 je poškozená; původní fotografie zůstala beze změny.").arg(Quoted(input)));
    return false;
  }

  // The replaced photo keeps its permissions, not the private ones of a temp file.
  if (targetInfo.exists()) QFile::setPermissions(temp.fileName(), QFile(target).permissions());
  std::error_code error;
  std::filesystem::rename(temp.fileName().toStdString(), target.toStdString(), error);
  if (error) {
    Report(QStringLiteral("Fotografii %1 nelze přepsat: %2").arg(Quoted(target), QString::fromStdString(error.message())));
    return false;
  }
  temp.setAutoRemove(false);  // its name now belongs to the photo
  return true;
}

void TJpegTran::Report(const QString& text) {
  lastMessage_ = text;
  if (sink_) {
    sink_(text);
  } else if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
    QMessageBox::warning(QApplication::activeWindow(), QString::fromUtf8(kAppTitle), text);
  } else {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  }
}
