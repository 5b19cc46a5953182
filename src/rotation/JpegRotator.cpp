#include "rotation/JpegRotator.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "core/bytes/AtomicFile.h"
#include "core/bytes/Error.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/Thumbnail.h"
#include "core/photo/PhotoEdits.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"

using lumatrim::EdgeTrim;
using lumatrim::FailureKind;
using lumatrim::PixelTransform;

namespace {

// A turned thumbnail is kept when its proportions are the picture's within this.
constexpr double kThumbnailProportionTolerance = 0.01;

QString Quoted(const QString& path) { return QStringLiteral("„%1“").arg(QFileInfo(path).fileName()); }

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The sentence for the user, then the technical cause; the kind stays the cause's.
[[noreturn]] void Fail(FailureKind kind, const QString& sentence, const std::exception* cause = nullptr) {
  QString text = sentence;
  if (cause) text += QLatin1Char('\n') + QString::fromStdString(cause->what());
  throw lumatrim::LumatrimError(kind, text.toStdString());
}

FailureKind KindOf(const std::exception& error, FailureKind fallback) {
  const auto* ours = dynamic_cast<const lumatrim::LumatrimError*>(&error);
  return ours && ours->Kind() != FailureKind::Other ? ours->Kind() : fallback;
}

PixelTransform TurnOf(JpegRotator::Direction direction) {
  return direction == JpegRotator::Direction::Left ? PixelTransform::Rotate270 : PixelTransform::Rotate90;
}

// What the stored blocks undergo so that the picture the user sees turns:
// first what makes it upright, then the turn itself.
PixelTransform StoredTransform(const lumatrim::PhotoMetadata& meta, JpegRotator::Direction direction) {
  return lumatrim::Then(lumatrim::UprightTransform(lumatrim::PhotoOrientation(meta)), TurnOf(direction));
}

lumatrim::PhotoMetadata ReadForWriting(const std::string& bytes) {
  lumatrim::MemorySource header(bytes);
  return lumatrim::ReadJpegMetadata(header, {.depth = lumatrim::ReadDepth::ForWriting});
}

// The result is the seen picture turned by a quarter: its rows were the
// seen picture's columns.
EdgeTrim SeenBeforeTheTurn(EdgeTrim resultTrim) { return {resultTrim.rows, resultTrim.columns}; }

bool ProportionsMatch(int widthA, int heightA, int widthB, int heightB) {
  if (widthA <= 0 || heightA <= 0 || widthB <= 0 || heightB <= 0) return false;
  const double ra = static_cast<double>(widthA) / heightA, rb = static_cast<double>(widthB) / heightB;
  return std::abs(ra - rb) <= kThumbnailProportionTolerance * rb;
}

// A camera thumbnail larger than this is not decoded to be turned; one is
// made from the picture instead.
constexpr int kLargestTurnedThumbnailSide = 640;

// The thumbnail turned with the picture: without loss when its blocks turn
// whole, else decoded, turned and encoded again (a few milliseconds, where
// one made from the picture decodes all of it). When it does not have the
// picture's proportions (a camera thumbnail with black bars, or the picture
// was trimmed more than a little), one is made from the picture.
std::string TurnedThumbnail(const lumatrim::PhotoMetadata& meta, PixelTransform transform,
                            const lumatrim::JpegImage& picture) {
  const auto fits = [&](const lumatrim::JpegImage& thumbnail) {
    return ProportionsMatch(thumbnail.Width(), thumbnail.Height(), picture.Width(), picture.Height());
  };
  try {
    const std::string stored = lumatrim::PhotoThumbnail(meta);
    lumatrim::JpegImage turned;
    try {
      turned.LoadFromBytes(lumatrim::TransformJpeg(stored, transform,
                                                   {.partialBlocks = lumatrim::PartialBlocks::MustBeWhole,
                                                    .copyMarkers = false}));
      if (fits(turned)) return lumatrim::WithoutJfifHeader(turned.Data());
    } catch (const lumatrim::LumatrimError&) {
      lumatrim::JpegImage thumbnail;
      thumbnail.LoadFromBytes(stored);
      if (std::max(thumbnail.Width(), thumbnail.Height()) <= kLargestTurnedThumbnailSide) {
        turned.Assign(lumatrim::ApplyTransform(thumbnail.Decode(), transform));
        if (fits(turned)) return lumatrim::EncodeThumbnail(turned.Picture());
      }
    }
  } catch (const lumatrim::LumatrimError&) {
    // No thumbnail that can be read: made anew below.
  }
  return lumatrim::EncodeThumbnail(picture);
}

}  // namespace

QString JpegRotator::SuffixedName(const QString& path, const QString& suffix) {
  qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return suffix + path;
  return path.left(dot) + suffix + path.mid(dot);
}

EdgeTrim JpegRotator::PlannedTrim(const QString& path, Direction direction) {
  try {
    const std::string bytes = lumatrim::ReadPhotoFile(LocalPath(path));
    const PixelTransform transform = StoredTransform(ReadForWriting(bytes), direction);
    return SeenBeforeTheTurn(lumatrim::OutputTrim(lumatrim::ReadBlockLayout(bytes), transform));
  } catch (const std::exception&) {
    return {};
  }
}

QString JpegRotator::TrimText(EdgeTrim trim) {
  return QStringLiteral("%1 × %2 px").arg(trim.columns).arg(trim.rows);
}

JpegRotator::Turned JpegRotator::Turn(const QString& path, Direction direction, bool inPlace) {
  const QString output = inPlace ? path : SuffixedName(path, QStringLiteral("_rot"));
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    Fail(FailureKind::FileMissing, QStringLiteral("Fotografie %1 nebyla nalezena.").arg(Quoted(path)));
  }
  const std::string input = LocalPath(path);
  lumatrim::PhotoMetadata meta;
  lumatrim::JpegImage source;
  try {
    std::string bytes = lumatrim::ReadPhotoFile(input);
    meta = ReadForWriting(bytes);
    source.LoadFromBytes(std::move(bytes), input);
  } catch (const std::exception& e) {
    Fail(KindOf(e, FailureKind::DamagedData), QStringLiteral("Fotografii %1 nelze otočit.").arg(Quoted(path)), &e);
  }
  meta.filePath = input;

  const PixelTransform transform = StoredTransform(meta, direction);
  lumatrim::JpegImage turned;
  try {
    // A progressive photo stays progressive (and as small); the others stay sequential.
    turned.LoadFromBytes(lumatrim::TransformJpeg(source.Data(), transform, {.progressive = source.Progressive()}),
                         input);
  } catch (const std::exception& e) {
    Fail(KindOf(e, FailureKind::DamagedData),
         QStringLiteral("Fotografii %1 se nepodařilo otočit; zůstala beze změny.").arg(Quoted(path)), &e);
  }
  const auto [fullWidth, fullHeight] = lumatrim::TransformedSize(source.Width(), source.Height(), transform);
  const EdgeTrim resultTrim{fullWidth - turned.Width(), fullHeight - turned.Height()};

  const std::string target = LocalPath(output);
  try {
    if (meta.ExifPresent()) {
      // The EXIF block still names the old orientation, size and thumbnail.
      std::string thumbnail;
      if (lumatrim::PhotoHasThumbnailDirectory(meta)) thumbnail = TurnedThumbnail(meta, transform, turned);
      lumatrim::MakeExifUpright(meta, thumbnail);
      lumatrim::SetPictureSize(meta, turned.Height(), turned.Width());
      lumatrim::WriteJpegWithMetadata(meta, turned, target);
    } else {
      lumatrim::AtomicFile::Write(target, turned.Data());
    }
  } catch (const std::exception& e) {
    Fail(KindOf(e, FailureKind::WriteFailed), QStringLiteral("Fotografii %1 nelze přepsat.").arg(Quoted(output)), &e);
  }
  return {output, SeenBeforeTheTurn(resultTrim)};
}
