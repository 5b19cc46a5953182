#include "ui/mainwindow/ThumbnailLoader.h"

#include <QFile>
#include <QFileInfo>
#include <exception>
#include <memory>

#include "core/jpeg/JpegImage.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "ui/preview/Orientation.h"
#include "ui/preview/PreviewDecode.h"

namespace {

constexpr int kCachedPhotos = 4000;

}  // namespace

QImage ExifThumbnailImage(lumatrim::PhotoMetadata& photo) {
  if (!photo.ThumbnailPresent() || !photo.exif) return {};
  try {
    photo.exif->ParseThumbnailDirectory();  // tells whether it is a JPEG
    const std::unique_ptr<lumatrim::JpegImage> thumb = lumatrim::DecodeThumbnail(photo);
    if (!thumb) return {};
    const lumatrim::Bitmap bitmap = thumb->Decode();
    return QImage(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                  QImage::Format_RGB888)
        .copy();
  } catch (const std::exception&) {
    return {};
  }
}

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent), cache_(kCachedPhotos) {
  pool_.setMaxThreadCount(1);
}

ThumbnailLoader::~ThumbnailLoader() {
  pool_.clear();
  pool_.waitForDone();
}

QImage ThumbnailLoader::Make(const QString& path) {
  int orientation = 1;
  QImage stored;
  lumatrim::PhotoMetadata photo = lumatrim::ReadPhotoMetadata(QFile::encodeName(path).toStdString());
  if (photo.ExifPresent() && photo.exif) {
    orientation = photo.exif->GetTagInt("Orientation");
    stored = ExifThumbnailImage(photo);
  }
  if (stored.isNull()) {
    // No thumbnail of its own: the photo decoded at an eighth is still quick.
    PreviewRequest request;
    request.Path = path;
    request.Orientation = orientation;
    request.BoxWidth = request.BoxHeight = kSide;
    const DecodedPreview decoded = DecodePreview(request);
    return decoded.Failed ? QImage() : decoded.Picture;
  }
  return orientation::Upright(stored, orientation).scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage ThumbnailLoader::Request(const QString& path) {
  const QDateTime modified = QFileInfo(path).lastModified();
  if (const Entry* entry = cache_.object(path); entry && entry->modified == modified) return entry->picture;
  if (waiting_.contains(path)) return {};
  waiting_.insert(path);
  pool_.start([this, path, modified] {
    const QImage picture = Make(path);
    // The loader waits for this task before it goes, so it is alive here.
    QMetaObject::invokeMethod(this, [this, path, modified, picture] { Store(path, modified, picture); },
                              Qt::QueuedConnection);
  });
  return {};
}

void ThumbnailLoader::CancelPending() {
  pool_.clear();
  waiting_.clear();
}

void ThumbnailLoader::Store(const QString& path, const QDateTime& modified, const QImage& picture) {
  waiting_.remove(path);
  cache_.insert(path, new Entry{modified, picture});
  if (!picture.isNull()) emit ThumbnailReady(path, picture);
}
