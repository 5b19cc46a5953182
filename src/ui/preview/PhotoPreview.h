#pragma once
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "ui/preview/PreviewDecode.h"

class QAbstractButton;
class QLabel;
class PreviewLoader;

// The preview control: one photo reduced into a box and centred in its
// parent, upright as its EXIF Orientation says, with a selection rectangle
// kept in (upright) photo pixels on a 16-pixel grid. The frame is inverted
// into the small displayed picture and erased by inverting again, so
// dragging never redraws the photo.
//
// ShowPhotoAsync decodes on a worker thread: the EXIF thumbnail shows at
// once, the decoded preview replaces it when ready, and a newer photo
// supersedes an older one still decoding. LoadPhoto + ShowFitted do the same
// work on the calling thread.
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
  void LoadPhoto(const QString& path, int orientation = 1);
  // Lays out and paints the photo; decoding errors throw and keep the
  // previous picture.
  void ShowFitted(int boxWidth, int boxHeight, bool fitSquare, bool interactive);
  QString DimensionsText() const;
  QString ScaleText() const;
  void ClearSelection();
  // Shows nothing; position and size stay.
  void ClearPicture();

  // Shows thumbnail (stored pixels, may be null) at once, then the decoded
  // photo when the worker has it; PhotoShown or PhotoFailed follows, unless
  // a newer call came first. An empty path empties the control at once.
  void ShowPhotoAsync(const QString& path, int orientation, const QImage& thumbnail, int boxWidth, int boxHeight,
                      bool fitSquare, bool interactive);
  // The box changed (the window grew): the shown photo is decoded anew for it.
  void RefitAsync(int boxWidth, int boxHeight);
  bool Decoding() const;
  // For tests and tools: runs the event loop until no decode is outstanding.
  bool WaitUntilDecoded(int timeoutMs = 10000);

  Rect Selection() const { return selection_; }
  DragMode CurrentDragMode() const { return dragMode_; }
  double Scale() const { return scale_; }
  bool IsEmptyPhoto() const { return empty_; }
  const QImage& Picture() const { return picture_; }
  int PhotoWidth() const { return photoWidth_; }
  int PhotoHeight() const { return photoHeight_; }
  QString PhotoPath() const { return path_; }

 signals:
  void PhotoShown();
  void PhotoFailed(lumatrim::FailureKind kind, const QString& detail);

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
  void ShowThumbnail(const QImage& upright, int boxWidth, int boxHeight, bool fitSquare);
  void ShowDecoded(const DecodedPreview& result);
  PreviewRequest MakeRequest(int boxWidth, int boxHeight) const;

  PreviewLoader* loader_ = nullptr;
  QString path_;
  int orientation_ = 1;
  int photoWidth_ = 0;  // upright
  int photoHeight_ = 0;
  bool fitSquare_ = true;
  bool interactive_ = false;
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
