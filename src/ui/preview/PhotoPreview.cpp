#include "ui/preview/PhotoPreview.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "core/jpeg/JpegImage.h"
#include "ui/preview/PhotoFit.h"

using photofit::Snap;

namespace {

constexpr int kMargin = 7;  // half the width of an edge band, in photo pixels

bool Contains(int left, int top, int right, int bottom, const PhotoPreview::Point& p) {
  return p.X >= left && p.X < right && p.Y >= top && p.Y < bottom;
}

void InvertPixel(QImage& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
  auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
  line[x] ^= 0x00FFFFFFu;
}

// A one-pixel line from (x0, y0) towards (x1, y1), the end point itself left
// out, as a polyline segment draws. Only horizontal and vertical segments occur.
void InvertSegment(QImage& image, int x0, int y0, int x1, int y1) {
  int dx = (x1 > x0) - (x1 < x0);
  int dy = (y1 > y0) - (y1 < y0);
  for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy) InvertPixel(image, x, y);
}

}  // namespace

PhotoPreview::PhotoPreview(QWidget* owner) : QWidget(owner), jpeg_(std::make_unique<lumatrim::JpegImage>()) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  cursorShape_ = Qt::CrossCursor;
  setCursor(cursorShape_);
  hide();
  setEnabled(false);
}

PhotoPreview::~PhotoPreview() = default;

void PhotoPreview::SetCropControls(QAbstractButton* button, QLabel* label) {
  cropButton_ = button;
  cropLabel_ = label;
}

void PhotoPreview::LoadPhoto(const QString& path) {
  empty_ = path.isEmpty();
  if (empty_) return;
  // Loaded aside first, so a file that is not a JPEG leaves the shown photo whole.
  auto next = std::make_unique<lumatrim::JpegImage>();
  next->LoadFromFile(path.toStdString());
  jpeg_ = std::move(next);
}

int PhotoPreview::PhotoWidth() const { return jpeg_->Width(); }
int PhotoPreview::PhotoHeight() const { return jpeg_->Height(); }

void PhotoPreview::ShowFitted(int boxWidth, int boxHeight, bool fitSquare, bool interactive) {
  if (!empty_) {
    ClearSelection();
    photofit::Placement p = photofit::Fit(jpeg_->Width(), jpeg_->Height(), boxWidth, boxHeight, fitSquare);
    QImage fitted;
    if (p.Width > 0 && p.Height > 0) {
      // libjpeg's DCT scaling does most of the reduction while decoding; the
      // last step to the exact size is a smooth resample of a small picture.
      lumatrim::Bitmap bitmap = jpeg_->Decode(jpeg_->PreviewScale(p.Width, p.Height));
      QImage decoded(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                     QImage::Format_RGB888);
      fitted = decoded.convertToFormat(QImage::Format_RGB32);
      if (fitted.size() != QSize(p.Width, p.Height))
        fitted = fitted.scaled(p.Width, p.Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
    }
    setGeometry(p.Left, p.Top, p.Width, p.Height);
    scale_ = p.Scale;
    picture_ = fitted;
    update();
  }
  setEnabled(interactive && !empty_);
  setVisible(!empty_);
}

QString PhotoPreview::DimensionsText() const {
  if (empty_) return {};
  return QStringLiteral("%1 × %2").arg(jpeg_->Width()).arg(jpeg_->Height());
}

QString PhotoPreview::ScaleText() const {
  if (empty_) return {};
  return QStringLiteral("%1%").arg(photofit::ScalePercent(scale_));
}

void PhotoPreview::ClearSelection() {
  InvertFrame(selection_);
  selection_ = {};
  anchor_ = {};
  lastPoint_ = {};
  if (cropLabel_) cropLabel_->clear();
  if (cropButton_) cropButton_->setEnabled(false);
  update();
}

void PhotoPreview::ClearPicture() {
  ClearSelection();
  picture_ = QImage();
  setEnabled(false);
  update();
}

PhotoPreview::Point PhotoPreview::ToPhoto(const QPoint& client) const {
  return {photofit::ClientToPhoto(client.x(), width(), scale_), photofit::ClientToPhoto(client.y(), height(), scale_)};
}

PhotoPreview::Rect PhotoPreview::ToClient(const Rect& photo) const {
  if (photo.Empty()) return photo;
  return {photofit::RoundEven(photo.Left * scale_), photofit::RoundEven(photo.Top * scale_),
          photofit::RoundEven(photo.Right * scale_), photofit::RoundEven(photo.Bottom * scale_)};
}

void PhotoPreview::InvertFrame(const Rect& photo) {
  if (photo.Empty() || picture_.isNull()) return;
  Rect c = ToClient(photo);
  // A closed polyline: each segment leaves its end out, so every pixel of the
  // frame is inverted exactly once and a second pass restores it.
  InvertSegment(picture_, c.Left, c.Top, c.Right, c.Top);
  InvertSegment(picture_, c.Right, c.Top, c.Right, c.Bottom);
  InvertSegment(picture_, c.Right, c.Bottom, c.Left, c.Bottom);
  InvertSegment(picture_, c.Left, c.Bottom, c.Left, c.Top);
}

void PhotoPreview::SetSelection(const Rect& next) {
  if (next == selection_) return;
  InvertFrame(selection_);
  selection_ = next;
  InvertFrame(selection_);
  ShowSelectionText();
  update();
}

void PhotoPreview::ShowSelectionText() {
  if (selection_.Empty()) return;
  if (cropLabel_)
    cropLabel_->setText(QStringLiteral("x:%1  y:%2    %3 × %4")
                            .arg(selection_.Left)
                            .arg(selection_.Top)
                            .arg(selection_.Right - selection_.Left)
                            .arg(selection_.Bottom - selection_.Top));
  if (cropButton_) cropButton_->setEnabled(true);
}

void PhotoPreview::HitTest(const Point& p) {
  Qt::CursorShape shape = Qt::CrossCursor;
  dragMode_ = DragMode::NewSelection;
  const Rect& s = selection_;
  if (!s.Empty()) {
    if (Contains(s.Left + kMargin, s.Top + kMargin, s.Right - kMargin, s.Bottom - kMargin, p)) {
      shape = Qt::SizeAllCursor;
      dragMode_ = DragMode::Move;
    } else {
      // Later bands win at the corners: top over the sides, left over bottom,
      // bottom over right.
      struct Band {
        int l, t, r, b;
        Qt::CursorShape cursor;
        DragMode mode;
      };
      const Band bands[] = {
          {s.Right - kMargin, s.Top, s.Right + kMargin, s.Bottom, Qt::SizeHorCursor, DragMode::RightEdge},
          {s.Left, s.Bottom - kMargin, s.Right, s.Bottom + kMargin, Qt::SizeVerCursor, DragMode::BottomEdge},
          {s.Left - kMargin, s.Top, s.Left + kMargin, s.Bottom, Qt::SizeHorCursor, DragMode::LeftEdge},
          {s.Left, s.Top - kMargin, s.Right, s.Top + kMargin, Qt::SizeVerCursor, DragMode::TopEdge},
      };
      for (const Band& band : bands) {
        if (Contains(band.l, band.t, band.r, band.b, p)) {
          shape = band.cursor;
          dragMode_ = band.mode;
        }
      }
    }
  }
  if (shape != cursorShape_) {
    cursorShape_ = shape;
    setCursor(shape);
  }
}

void PhotoPreview::DragTo(const Point& p) {
  const int photoW = jpeg_->Width();
  const int photoH = jpeg_->Height();
  Rect next = selection_;
  switch (dragMode_) {
    case DragMode::NewSelection: {
      Point s{Snap(p.X), Snap(p.Y)};
      next = {std::min(anchor_.X, s.X), std::min(anchor_.Y, s.Y), std::max(anchor_.X, s.X), std::max(anchor_.Y, s.Y)};
      break;
    }
    case DragMode::TopEdge:
      if (p.Y < next.Bottom) {
        int t = next.Bottom - Snap(next.Bottom - p.Y);
        if (t >= 0) next.Top = t;
      }
      break;
    case DragMode::LeftEdge:
      if (p.X < next.Right) {
        int l = next.Right - Snap(next.Right - p.X);
        if (l >= 0) next.Left = l;
      }
      break;
    case DragMode::RightEdge:
      if (p.X > next.Left) {
        int r = next.Left + Snap(p.X - next.Left);
        if (r <= photoW) next.Right = r;
      }
      break;
    case DragMode::BottomEdge:
      if (p.Y > next.Top) {
        int b = next.Top + Snap(p.Y - next.Top);
        if (b <= photoH) next.Bottom = b;
      }
      break;
    case DragMode::Move: {
      Point s{Snap(p.X), Snap(p.Y)};
      auto step = [](int low, int high, int delta, int limit) {
        if (low + delta < 0) return -low;  // stops exactly at the border
        if (high + delta > limit) return Snap(limit - high);
        return delta;
      };
      int dx = step(next.Left, next.Right, s.X - lastPoint_.X, photoW);
      int dy = step(next.Top, next.Bottom, s.Y - lastPoint_.Y, photoH);
      next = {next.Left + dx, next.Top + dy, next.Right + dx, next.Bottom + dy};
      lastPoint_ = s;
      break;
    }
    default:
      break;
  }
  SetSelection(next);
}

void PhotoPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  painter.drawImage(0, 0, picture_);
}

void PhotoPreview::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  // A press where the cursor is the cross-hair starts a new selection.
  if (cursorShape_ == Qt::CrossCursor) ClearSelection();
  Point p = ToPhoto(event->position().toPoint());
  anchor_ = lastPoint_ = {Snap(p.X), Snap(p.Y)};
}

void PhotoPreview::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (selection_.Left == selection_.Right || selection_.Top == selection_.Bottom) ClearSelection();
}

void PhotoPreview::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  Point p = ToPhoto(event->position().toPoint());
  if (event->buttons() & Qt::LeftButton)
    DragTo(p);
  else
    HitTest(p);
}

void PhotoPreview::mouseDoubleClickEvent(QMouseEvent*) {
  // Not passed on: the base class would replay it as a second press.
  ClearSelection();
}
