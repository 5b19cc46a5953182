#include "UiTestPhotos.h"

#include <QCoreApplication>

#include "JpegBuilder.h"
#include "core/jpeg/JpegImage.h"

namespace uitest {

std::string PhotoBytes(int width, int height, const std::string& exifTiff, int seed) {
  lumatrim::Bitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 255 / std::max(1, width - 1));
      row[3 * x + 1] = static_cast<uint8_t>(y * 255 / std::max(1, height - 1));
      row[3 * x + 2] = static_cast<uint8_t>(((x / 8 + y / 8 + seed) % 2) * 200);
    }
  }
  lumatrim::JpegImage image;
  image.Assign(std::move(bitmap));
  image.Compress(90, false);
  std::string stream = image.Data();
  if (exifTiff.empty()) return stream;
  // SOI, then the EXIF block, then the encoder's stream after its own SOI.
  lumatrim::test::JpegBuilder exif;
  exif.App1Exif(exifTiff);
  return stream.substr(0, 2) + exif.Bytes() + stream.substr(2);
}

std::string WritePhoto(const std::string& path, int width, int height, const std::string& exifTiff, int seed) {
  return lumatrim::test::WriteFile(path, PhotoBytes(width, height, exifTiff, seed));
}

std::string CameraThumbnail(const std::string& jpeg) {
  if (jpeg.size() < 6 || static_cast<uint8_t>(jpeg[3]) != 0xE0) return jpeg;
  const size_t app0 = 2 + (static_cast<uint8_t>(jpeg[4]) << 8 | static_cast<uint8_t>(jpeg[5]));
  return jpeg.substr(0, 2) + jpeg.substr(2 + app0);
}

std::string DecodedPixels(const std::string& path) {
  lumatrim::JpegImage image;
  image.LoadFromFile(path);
  lumatrim::Bitmap bitmap = image.Decode();
  return std::string(bitmap.Bytes.begin(), bitmap.Bytes.end());
}

std::pair<int, int> PhotoSize(const std::string& path) {
  lumatrim::JpegImage image;
  image.LoadFromFile(path);
  return {image.Width(), image.Height()};
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers) {
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons, modifiers);
  QCoreApplication::sendEvent(widget, &event);
}

}  // namespace uitest
