#include "ui/preview/PreviewDecode.h"

#include <QFile>
#include <cmath>
#include <exception>

#include "core/jpeg/JpegImage.h"
#include "ui/preview/Orientation.h"

DecodedPreview DecodePreview(const PreviewRequest& request) {
  DecodedPreview result;
  result.Generation = request.Generation;
  result.Path = request.Path;
  try {
    lumatrim::JpegImage jpeg;
    jpeg.LoadFromFile(QFile::encodeName(request.Path).toStdString());
    const QSize upright = orientation::UprightSize(QSize(jpeg.Width(), jpeg.Height()), request.Orientation);
    result.PhotoWidth = upright.width();
    result.PhotoHeight = upright.height();
    result.Place = photofit::Fit(upright.width(), upright.height(), request.BoxWidth, request.BoxHeight,
                                 request.FitSquare);
    const QSize shown(static_cast<int>(std::lround(result.Place.Width * request.PixelRatio)),
                      static_cast<int>(std::lround(result.Place.Height * request.PixelRatio)));
    if (shown.isEmpty()) return result;
    // The decode scale is chosen for the stored sides the shown picture needs.
    const QSize storedNeed = orientation::SwapsSides(request.Orientation) ? shown.transposed() : shown;
    const lumatrim::Bitmap bitmap = jpeg.Decode(jpeg.PreviewScale(storedNeed.width(), storedNeed.height()));
    const QImage decoded(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                         QImage::Format_RGB888);
    QImage picture = orientation::Upright(decoded.convertToFormat(QImage::Format_RGB32), request.Orientation);
    if (picture.size() != shown)
      picture = picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    result.Picture = picture.convertToFormat(QImage::Format_RGB32);
    result.Picture.setDevicePixelRatio(request.PixelRatio);
  } catch (const lumatrim::LumatrimError& error) {
    result.Failed = true;
    result.Kind = error.Kind();
    result.Detail = QString::fromStdString(error.what());
  } catch (const std::exception& error) {
    result.Failed = true;
    result.Detail = QString::fromStdString(error.what());
  }
  return result;
}
