#pragma once
#include <QImage>
#include <QSize>

// The EXIF Orientation tag (0x0112 in IFD0) says how the stored pixels must be
// turned and mirrored to stand upright. Values outside 1..8 count as 1.
namespace orientation {

// 5 to 8 swap width and height.
bool SwapsSides(int orientation);
QSize UprightSize(QSize stored, int orientation);
// The stored picture made upright.
QImage Upright(const QImage& stored, int orientation);

}  // namespace orientation
