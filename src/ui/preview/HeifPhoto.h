#pragma once
#include <QImage>
#include <QString>

// What the windows need to know of a HEIF/HEIC/AVIF photo: that it is one
// (by its bytes), its own thumbnail, and why the JPEG-only commands refuse it.
namespace heifphoto {

bool IsHeif(const QString& path);
// The file's thumbnail image, in sRGB and upright; null when it has none or
// it cannot be decoded.
QImage Thumbnail(const QString& path);

// Tooltips of the commands that rewrite JPEG data in place.
QString RotationRefusal();
QString IptcRefusal();
QString ExifRemovalRefusal();

}  // namespace heifphoto
