#include "rotation/JpegRotator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#include "core/bytes/Error.h"
#include "core/jpeg/JpegImage.h"

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

[[noreturn]] void Fail(const QString& text) { throw lumatrim::LumatrimError(text.toStdString()); }

}  // namespace

JpegRotator::JpegRotator() : JpegRotator(ToolPath()) {}

JpegRotator::JpegRotator(const QString& toolPath) : tool_(toolPath) {
  toolFound_ = !tool_.isEmpty() && QFileInfo(tool_).isFile();
}

QString JpegRotator::ToolPath() {
  QString folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
  if (!folder.isEmpty()) {
    QString beside = folder.endsWith(QLatin1Char('/')) ? folder + QStringLiteral("jpegtran")
                                                       : folder + QStringLiteral("/jpegtran");
    QFileInfo info(beside);
    if (info.isFile() && info.isExecutable()) return info.absoluteFilePath();
  }
  return QStandardPaths::findExecutable(QStringLiteral("jpegtran"));
}

QString JpegRotator::SuffixedName(const QString& path, const QString& suffix) {
  qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return suffix + path;
  return path.left(dot) + suffix + path.mid(dot);
}

QString JpegRotator::RotateLeft(const QString& path, bool inPlace) {
  return Rotate(path, inPlace, QStringLiteral("270"));
}

QString JpegRotator::RotateRight(const QString& path, bool inPlace) {
  return Rotate(path, inPlace, QStringLiteral("90"));
}

QString JpegRotator::Rotate(const QString& path, bool inPlace, const QString& angle) {
  QString output = inPlace ? path : SuffixedName(path, QStringLiteral("_rot"));
  QStringList switches{QStringLiteral("-copy"), QStringLiteral("all"), QStringLiteral("-rotate"), angle};
  RunTool(path, output, switches);
  return output;
}

void JpegRotator::RunTool(const QString& input, const QString& output, const QStringList& switches) {
  if (tool_.isEmpty() || !QFileInfo(tool_).isFile()) {
    Fail(QStringLiteral("JpegTran WinExec Error: %1").arg(kCodeFileNotFound));
  }
  QFileInfo inputInfo(input);
  if (input.isEmpty() || !inputInfo.isFile()) {
    Fail(QStringLiteral("Fotografie %1 nebyla nalezena.").arg(Quoted(input)));
  }
  int sourceWidth = 0, sourceHeight = 0;
  try {
    lumatrim::JpegImage source;
    source.LoadFromFile(input.toStdString());
    sourceWidth = source.Width();
    sourceHeight = source.Height();
  } catch (const std::exception& e) {
    Fail(QStringLiteral("Fotografii %1 nelze otočit: %2").arg(Quoted(input), QString::fromStdString(e.what())));
  }

  // Rotating in place through a symbolic link turns the photo it points to.
  QString target = output;
  if (QFileInfo(output).isSymLink()) target = QFileInfo(output).canonicalFilePath();
  QFileInfo targetInfo(target);

  QTemporaryFile temp(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName() +
                      QStringLiteral(".XXXXXX"));
  if (!temp.open()) {
    Fail(QStringLiteral("Do složky „%1“ nelze zapisovat.").arg(QDir::toNativeSeparators(targetInfo.absolutePath())));
  }
  temp.close();

  QProcess process;
  process.setProgram(tool_);
  process.setArguments(switches + QStringList{QStringLiteral("-outfile"), temp.fileName(), input});
  process.setStandardInputFile(QProcess::nullDevice());
  process.start();
  if (!process.waitForStarted()) {
    int code = QFileInfo(tool_).isFile() ? kCodeAccessDenied : kCodeFileNotFound;
    Fail(QStringLiteral("JpegTran WinExec Error: %1").arg(code));
  }
  if (!process.waitForFinished(timeLimitMs_)) {
    process.kill();
    process.waitForFinished();
    Fail(QStringLiteral("Otáčení fotografie %1 trvalo příliš dlouho a bylo přerušeno; fotografie zůstala beze změny.")
               .arg(Quoted(input)));
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    Fail(QStringLiteral("Fotografii %1 se nepodařilo otočit; zůstala beze změny.\n%2")
               .arg(Quoted(input), ToolComplaint(process)));
  }
  if (!OutputIsRotated(temp.fileName(), sourceWidth, sourceHeight)) {
    Fail(QStringLiteral("Otočená fotografie %1 je poškozená; původní fotografie zůstala beze změny.").arg(Quoted(input)));
  }

  // The replaced photo keeps its permissions, not the private ones of a temp file.
  if (targetInfo.exists()) QFile::setPermissions(temp.fileName(), QFile(target).permissions());
  std::error_code error;
  std::filesystem::rename(temp.fileName().toStdString(), target.toStdString(), error);
  if (error) {
    Fail(QStringLiteral("Fotografii %1 nelze přepsat: %2").arg(Quoted(target), QString::fromStdString(error.message())));
  }
  temp.setAutoRemove(false);  // its name now belongs to the photo
}
