#pragma once
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QAbstractButton;
class QLabel;

namespace lumatrim {
class JpegImage;
}

// The preview control: one photo reduced into a box and centred in its
// parent, with a selection rectangle kept in photo pixels on a 16-pixel grid.
// The frame is inverted into the small displayed picture and erased by
// inverting again, so dragging never redraws the photo.
class PhotoPreview : public QWidget {
  Q_OBJECT

 public:
  // Edges in photo pixels; right and bottom are exclusive.
  struct Rect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Empty() const { return Right - Left <= 0 || Bottom - Top <= 0; }
    bool operator==(const Rect&) const = default;
  };
  struct Point {
    int X = 0, Y = 0;
  };

  // What a press at the pointer's place drags: a new selection, one edge of
  // the selection, or the whole selection.
  enum class DragMode { NewSelection, TopEdge, RightEdge, BottomEdge, LeftEdge, Move };

  explicit PhotoPreview(QWidget* owner);
  ~PhotoPreview() override;

  void SetCropControls(QAbstractButton* button, QLabel* label);
  // An empty path empties the control. Reading or header errors throw
  // LumatrimError and leave the photo and picture shown before in place.
  void LoadPhoto(const QString& path);
  // Lays out and paints the photo; decoding errors throw and keep the
  // previous picture.
  void ShowFitted(int boxWidth, int boxHeight, bool fitSquare, bool interactive);
  QString DimensionsText() const;
  QString ScaleText() const;
  void ClearSelection();
  // Shows nothing; position and size stay.
  void ClearPicture();

  Rect Selection() const { return selection_; }
  DragMode CurrentDragMode() const { return dragMode_; }
  double Scale() const { return scale_; }
  bool IsEmptyPhoto() const { return empty_; }
  const QImage& Picture() const { return picture_; }
  int PhotoWidth() const;
  int PhotoHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  Point ToPhoto(const QPoint& client) const;
  Rect ToClient(const Rect& photo) const;
  void InvertFrame(const Rect& photo);
  void SetSelection(const Rect& next);
  void ShowSelectionText();
  void HitTest(const Point& p);
  void DragTo(const Point& p);

  std::unique_ptr<lumatrim::JpegImage> jpeg_;
  bool empty_ = true;
  Rect selection_;
  Point anchor_;
  DragMode dragMode_ = DragMode::NewSelection;
  Point lastPoint_;
  double scale_ = 1.0;
  QPointer<QAbstractButton> cropButton_;
  QPointer<QLabel> cropLabel_;
  QImage picture_;
  Qt::CursorShape cursorShape_ = Qt::ArrowCursor;
};
