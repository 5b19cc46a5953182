#pragma once
#include <QString>

#include "core/jpeg/LosslessTransform.h"

// Lossless rotation in-process, the stored blocks moved on the bytes read
// once. A turn is of the picture as the user sees it: the photo's EXIF
// Orientation and the turn become one transform of the stored blocks, and the
// result is upright with Orientation 1, its EXIF sizes and thumbnail matching
// it. A partial block row or column that would land at the left or top edge
// is trimmed. The photo is replaced by one atomic write, so a failure leaves
// it byte for byte. A failure throws lumatrim::LumatrimError with a kind and
// the sentence for the user.
class JpegRotator {
 public:
  enum class Direction { Left, Right };  // counter-clockwise, clockwise

  struct Turned {
    QString output;
    lumatrim::EdgeTrim trim;  // columns and rows of the picture as seen before the turn
  };

  // The transform is part of the program, so a turn can always be tried.
  bool ToolFound() const { return true; }
  // holiday.jpg + "_rot" -> holiday_rot.jpg; without a "." the suffix goes in front.
  static QString SuffixedName(const QString& path, const QString& suffix);

  // What turning the photo would trim: columns from its width and rows from
  // its height as it is seen now. None for a photo of whole blocks, and for
  // one that cannot be read (the turn itself then says why).
  static lumatrim::EdgeTrim PlannedTrim(const QString& path, Direction direction);
  // "2 × 8 px": columns × rows.
  static QString TrimText(lumatrim::EdgeTrim trim);

  Turned Turn(const QString& path, Direction direction, bool inPlace);
  // 90 degrees counter-clockwise / clockwise. Returns the output path.
  QString RotateLeft(const QString& path, bool inPlace) { return Turn(path, Direction::Left, inPlace).output; }
  QString RotateRight(const QString& path, bool inPlace) { return Turn(path, Direction::Right, inPlace).output; }
};
