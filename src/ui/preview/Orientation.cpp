#include "ui/preview/Orientation.h"

#include <QTransform>

namespace orientation {

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

QSize UprightSize(QSize stored, int orientation) { return SwapsSides(orientation) ? stored.transposed() : stored; }

QImage Upright(const QImage& stored, int orientation) {
  const auto turned = [](const QImage& image, int degrees) {
    return image.transformed(QTransform().rotate(degrees));  // exact for quarter turns
  };
  switch (orientation) {
    case 2:
      return stored.mirrored(true, false);
    case 3:
      return turned(stored, 180);
    case 4:
      return stored.mirrored(false, true);
    case 5:  // mirrored, then turned a quarter to the left: the transpose
      return turned(stored.mirrored(true, false), 270);
    case 6:
      return turned(stored, 90);
    case 7:  // mirrored, then turned a quarter to the right
      return turned(stored.mirrored(true, false), 90);
    case 8:
      return turned(stored, 270);
    default:
      return stored;
  }
}

}  // namespace orientation
