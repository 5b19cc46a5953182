#include "ui/preview/HeifPhoto.h"

#include <QFile>
#include <exception>

#include "core/heif/HeifImage.h"
#include "core/heif/HeifKind.h"

namespace heifphoto {

bool IsHeif(const QString& path) { return lumatrim::IsHeifFile(QFile::encodeName(path).toStdString()); }

QImage Thumbnail(const QString& path) {
  try {
    lumatrim::HeifImage image;
    image.LoadFromFile(QFile::encodeName(path).toStdString());
    const lumatrim::Bitmap bitmap = image.DecodeThumbnail();
    if (bitmap.Empty()) return {};
    return QImage(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                  QImage::Format_RGB888)
        .copy();
  } catch (const std::exception&) {
    return {};  // the full decode follows and reports what is wrong
  }
}

QString RotationRefusal() { return QStringLiteral("Otočení bez ztráty kvality je možné jen u JPEG"); }
QString IptcRefusal() { return QStringLiteral("Ukládání IPTC je možné jen u JPEG"); }
QString ExifRemovalRefusal() { return QStringLiteral("Odstranění EXIF je možné jen u JPEG"); }

}  // namespace heifphoto
