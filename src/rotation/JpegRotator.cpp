#include "rotation/JpegRotator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "core/bytes/Error.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/Thumbnail.h"
#include "core/photo/PhotoEdits.h"
#include "core/photo/PhotoXmp.h"

using lumatrim::PixelTransform;

namespace {

// Start codes in the sense of the old process start call: below 32 is a failure.
constexpr int kCodeFileNotFound = 2;
constexpr int kCodeAccessDenied = 5;
// A turn drops at most one partial row or column of blocks (-trim); blocks are
// at most 32 px wide with the largest sampling factors.
constexpr int kLargestBlock = 32;
// A turned thumbnail is kept when its proportions are the picture's within this.
constexpr double kThumbnailProportionTolerance = 0.01;

QString Quoted(const QString& path) { return QStringLiteral("„%1“").arg(QFileInfo(path).fileName()); }

// The tool's own complaint, one line, without its program-name prefix noise.
QString ToolComplaint(QProcess& process) {
  QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
  if (text.isEmpty()) text = QStringLiteral("návratový kód %1").arg(process.exitCode());
  return text.section(QLatin1Char('\n'), 0, 0);
}

[[noreturn]] void Fail(const QString& text) { throw lumatrim::LumatrimError(text.toStdString()); }

struct Size {
  int width = 0, height = 0;
};

// Decodes the result completely (at 1/8 size, which still walks every coded
// block) and checks its size: the turned size, less at most one partial block
// at an edge the turn had to trim. The real size goes to actual.
bool OutputIsTurned(const QString& output, Size expected, Size& actual) {
  try {
    lumatrim::JpegImage image;
    image.LoadFromFile(output.toStdString());
    actual = {image.Width(), image.Height()};
    const auto near = [](int got, int want) { return got <= want && got > want - kLargestBlock && got > 0; };
    if (!near(actual.width, expected.width) || !near(actual.height, expected.height)) return false;
    image.Decode(8);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool ProportionsMatch(Size a, Size b) {
  if (a.width <= 0 || a.height <= 0 || b.width <= 0 || b.height <= 0) return false;
  const double ra = static_cast<double>(a.width) / a.height, rb = static_cast<double>(b.width) / b.height;
  return std::abs(ra - rb) <= kThumbnailProportionTolerance * rb;
}

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

QStringList JpegRotator::TransformSwitches(PixelTransform transform) {
  switch (transform) {
    case PixelTransform::None: return {};
    case PixelTransform::FlipHorizontal: return {QStringLiteral("-flip"), QStringLiteral("horizontal")};
    case PixelTransform::Rotate180: return {QStringLiteral("-rotate"), QStringLiteral("180")};
    case PixelTransform::FlipVertical: return {QStringLiteral("-flip"), QStringLiteral("vertical")};
    case PixelTransform::Transpose: return {QStringLiteral("-transpose")};
    case PixelTransform::Rotate90: return {QStringLiteral("-rotate"), QStringLiteral("90")};
    case PixelTransform::Transverse: return {QStringLiteral("-transverse")};
    case PixelTransform::Rotate270: return {QStringLiteral("-rotate"), QStringLiteral("270")};
  }
  return {};
}

QString JpegRotator::RotateLeft(const QString& path, bool inPlace) {
  return Rotate(path, inPlace, PixelTransform::Rotate270);
}

QString JpegRotator::RotateRight(const QString& path, bool inPlace) {
  return Rotate(path, inPlace, PixelTransform::Rotate90);
}

void JpegRotator::RunTool(const QString& input, const QString& output, const QStringList& switches) {
  QProcess process;
  process.setProgram(tool_);
  process.setArguments(switches + QStringList{QStringLiteral("-outfile"), output, input});
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
}

QByteArray JpegRotator::TransformThumbnail(const QByteArray& jpeg, PixelTransform transform) {
  if (jpeg.isEmpty()) return {};
  if (transform == PixelTransform::None) return jpeg;
  QProcess process;
  process.setProgram(tool_);
  // -perfect: a thumbnail whose edge blocks would stay unturned is made anew.
  process.setArguments(QStringList{QStringLiteral("-copy"), QStringLiteral("none")} + TransformSwitches(transform) +
                       QStringList{QStringLiteral("-perfect")});
  process.start();
  if (!process.waitForStarted()) return {};
  process.write(jpeg);
  process.closeWriteChannel();
  if (!process.waitForFinished(timeLimitMs_)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return {};
  return QByteArray::fromStdString(lumatrim::WithoutJfifHeader(process.readAllStandardOutput().toStdString()));
}

// The tool copied the EXIF block as it was: it still names the old
// orientation, size and thumbnail. Rewrites the turned file in place.
void JpegRotator::WriteUprightExif(const QString& turnedPath, PixelTransform transform, int width, int height) {
  const std::string path = turnedPath.toStdString();
  std::string bytes = lumatrim::ReadPhotoFile(path);
  lumatrim::MemorySource header(bytes);
  lumatrim::PhotoMetadata meta = lumatrim::ReadJpegMetadata(header, {.depth = lumatrim::ReadDepth::ForWriting});
  meta.filePath = path;
  lumatrim::JpegImage picture;
  picture.LoadFromBytes(std::move(bytes), path);
  std::string thumbnail;
  if (lumatrim::PhotoHasThumbnailDirectory(meta)) {
    const QByteArray same = TransformThumbnail(QByteArray::fromStdString(lumatrim::PhotoThumbnail(meta)), transform);
    Size sameSize;
    if (!same.isEmpty()) {
      lumatrim::JpegImage header;
      header.LoadFromBytes(same.toStdString());
      sameSize = {header.Width(), header.Height()};
    }
    // A camera thumbnail of other proportions (black bars), or one of a
    // trimmed photo, would not match the picture: a new one is made.
    thumbnail = ProportionsMatch(sameSize, {width, height}) ? same.toStdString() : lumatrim::EncodeThumbnail(picture);
  }
  lumatrim::MakeExifUpright(meta, thumbnail);
  lumatrim::MakeXmpUpright(meta);
  lumatrim::SetPictureSize(meta, picture.Height(), picture.Width());
  lumatrim::WriteJpegWithMetadata(meta, picture, path);
}

QString JpegRotator::Rotate(const QString& path, bool inPlace, PixelTransform turn) {
  const QString output = inPlace ? path : SuffixedName(path, QStringLiteral("_rot"));
  if (tool_.isEmpty() || !QFileInfo(tool_).isFile()) {
    Fail(QStringLiteral("JpegTran WinExec Error: %1").arg(kCodeFileNotFound));
  }
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    Fail(QStringLiteral("Fotografie %1 nebyla nalezena.").arg(Quoted(path)));
  }
  const std::string input = path.toStdString();
  Size source;
  lumatrim::PhotoMetadata meta;
  try {
    std::string bytes = lumatrim::ReadPhotoFile(input);
    lumatrim::MemorySource header(bytes);
    meta = lumatrim::ReadJpegMetadata(header, {.depth = lumatrim::ReadDepth::ForWriting});
    lumatrim::JpegImage image;
    image.LoadFromBytes(std::move(bytes), input);
    source = {image.Width(), image.Height()};
  } catch (const std::exception& e) {
    Fail(QStringLiteral("Fotografii %1 nelze otočit: %2").arg(Quoted(path), QString::fromStdString(e.what())));
  }
  // The stored blocks are turned so that the picture the user sees turns:
  // first what makes it upright, then the turn itself.
  const PixelTransform transform = lumatrim::Then(lumatrim::UprightTransform(lumatrim::PhotoOrientation(meta)), turn);
  QStringList switches{QStringLiteral("-copy"), QStringLiteral("all")};
  // -trim drops a partial block row or column at an edge the transform would
  // leave unturned; a photo of whole blocks loses nothing.
  if (transform != PixelTransform::None) switches << TransformSwitches(transform) << QStringLiteral("-trim");

  // Rotating in place through a symbolic link turns the photo it points to.
  QString target = output;
  if (QFileInfo(output).isSymLink()) target = QFileInfo(output).canonicalFilePath();
  QFileInfo targetInfo(target);
  // A short name of its own: one derived from the photo's would pass the file
  // system's name limit for photos whose names are near it.
  QTemporaryFile temp(targetInfo.absolutePath() + QStringLiteral("/.lumatrim-rotate-XXXXXX.tmp"));
  if (!temp.open()) {
    Fail(QStringLiteral("Do složky „%1“ nelze zapisovat.").arg(QDir::toNativeSeparators(targetInfo.absolutePath())));
  }
  temp.close();
  RunTool(path, temp.fileName(), switches);

  const auto [turnedWidth, turnedHeight] = lumatrim::TransformedSize(source.width, source.height, transform);
  Size turned;
  if (!OutputIsTurned(temp.fileName(), {turnedWidth, turnedHeight}, turned)) {
    Fail(QStringLiteral("Otočená fotografie %1 je poškozená; původní fotografie zůstala beze změny.").arg(Quoted(path)));
  }
  // The tool copied EXIF and XMP as they were; both follow the turn.
  if (meta.ExifPresent() || meta.XmpPresent()) {
    try {
      WriteUprightExif(temp.fileName(), transform, turned.width, turned.height);
    } catch (const std::exception& e) {
      Fail(QStringLiteral("Fotografii %1 nelze otočit: %2").arg(Quoted(path), QString::fromStdString(e.what())));
    }
    Size written;
    if (!OutputIsTurned(temp.fileName(), turned, written)) {
      Fail(QStringLiteral("Otočená fotografie %1 je poškozená; původní fotografie zůstala beze změny.").arg(Quoted(path)));
    }
  }

  // The replaced photo keeps its permissions, not the private ones of a temp file.
  if (targetInfo.exists()) QFile::setPermissions(temp.fileName(), QFile(target).permissions());
  std::error_code error;
  std::filesystem::rename(temp.fileName().toStdString(), target.toStdString(), error);
  if (error) {
    Fail(QStringLiteral("Fotografii %1 nelze přepsat: %2").arg(Quoted(target), QString::fromStdString(error.message())));
  }
  temp.setAutoRemove(false);  // its name now belongs to the photo
  return output;
}
