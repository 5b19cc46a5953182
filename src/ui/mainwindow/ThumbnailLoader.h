#pragma once
#include <QCache>
#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>

namespace lumatrim {
class PhotoMetadata;
}

// The EXIF thumbnail of a photo as stored (not yet upright), or a null image;
// a damaged thumbnail is simply not shown.
QImage ExifThumbnailImage(lumatrim::PhotoMetadata& photo);

// Small upright pictures of the listed photos for the "Náhledy" view: the EXIF
// thumbnail (or, lacking one, a DCT-scaled decode), made on a worker thread
// of its own and kept per path and modification time, so going back to a
// folder costs nothing and a turned photo is drawn anew.
class ThumbnailLoader : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSide = 64;  // the longer side of a thumbnail, in window pixels

  explicit ThumbnailLoader(QObject* parent = nullptr);
  ~ThumbnailLoader() override;

  // The cached picture of path when it is still current; else null, and the
  // picture is made (ThumbnailReady follows).
  QImage Request(const QString& path);
  // Requests not yet started are dropped (another folder is shown).
  void CancelPending();
  // Made on the calling thread; null when the photo gives none.
  static QImage Make(const QString& path);

 signals:
  void ThumbnailReady(const QString& path, const QImage& picture);

 private:
  struct Entry {
    QDateTime modified;
    QImage picture;
  };
  void Store(const QString& path, const QDateTime& modified, const QImage& picture);

  QThreadPool pool_;
  QCache<QString, Entry> cache_;
  QSet<QString> waiting_;
};
