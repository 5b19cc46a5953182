#pragma once
#include <QMouseEvent>
#include <QWidget>
#include <string>
#include <utility>

// Real JPEG photos for the window tests, drawn and encoded by the program's
// own JPEG object, optionally with an EXIF block (a TIFF block from TiffBuilder).
namespace uitest {

std::string PhotoBytes(int width, int height, const std::string& exifTiff = {}, int seed = 0);
std::string WritePhoto(const std::string& path, int width, int height, const std::string& exifTiff = {},
                       int seed = 0);
// The decoded RGB pixels of a JPEG file.
std::string DecodedPixels(const std::string& path);
// Width and height of a JPEG file.
std::pair<int, int> PhotoSize(const std::string& path);

// Delivers a mouse event straight to a widget, with exactly the given button
// state and modifier keys.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace uitest
