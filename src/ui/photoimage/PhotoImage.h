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
class TPhotoImage : public QWidget {
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

  explicit TPhotoImage(QWidget* owner);
  ~TPhotoImage() override;

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

  Rect Selection() const { return FSelection; }
  int DragMode() const { return FDragMode; }
  double Scale() const { return FScale; }
  bool IsEmptyPhoto() const { return FEmpty; }
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

  std::unique_ptr<lumatrim::JpegImage> FJpeg;
  bool FEmpty = true;
  Rect FSelection;
  Point FAnchor;
  int FDragMode = 0;
  Point FLastPoint;
  double FScale = 1.0;
  QPointer<QAbstractButton> FCropButton;
  QPointer<QLabel> FCropLabel;
  QImage picture_;
  Qt::CursorShape cursorShape_ = Qt::ArrowCursor;
};
