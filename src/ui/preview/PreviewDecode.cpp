#include "ui/preview/PreviewDecode.h"

#include <QFile>
#include <cmath>
#include <exception>

#include "core/heif/HeifImage.h"
#include "core/heif/HeifKind.h"
#include "core/jpeg/JpegImage.h"
#include "ui/preview/Orientation.h"

namespace {

// libheif gives the picture upright and in sRGB; it is decoded whole and
// filtered into the box (HEIF has no reduced decode).
void DecodeHeifPreview(const std::string& path, const PreviewRequest& request, DecodedPreview& result) {
  lumatrim::HeifImage heif;
  heif.LoadFromFile(path);
  result.PhotoWidth = heif.Width();
  result.PhotoHeight = heif.Height();
  result.Place = photofit::Fit(heif.Width(), heif.Height(), request.BoxWidth, request.BoxHeight, request.FitSquare);
  const int width = static_cast<int>(std::lround(result.Place.Width * request.PixelRatio));
  const int height = static_cast<int>(std::lround(result.Place.Height * request.PixelRatio));
  if (width <= 0 || height <= 0) return;
  const lumatrim::Bitmap bitmap = heif.DecodeResampled(width, height);
  const QImage decoded(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                       QImage::Format_RGB888);
  result.Picture = decoded.convertToFormat(QImage::Format_RGB32);
  result.Picture.setDevicePixelRatio(request.PixelRatio);
}

}  // namespace

DecodedPreview DecodePreview(const PreviewRequest& request) {
  DecodedPreview result;
  result.Generation = request.Generation;
  result.Path = request.Path;
  try {
    const std::string path = QFile::encodeName(request.Path).toStdString();
    if (lumatrim::IsHeifFile(path)) {
      DecodeHeifPreview(path, request, result);
      return result;
    }
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
