#include "ui/photoimage/PhotoImage.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "core/jpeg/JpegImage.h"
#include "ui/photoimage/PhotoFit.h"

using photofit::Snap;

namespace {

constexpr int kMargin = 7;  // half the width of an edge band, in photo pixels

bool Contains(int left, int top, int right, int bottom, const TPhotoImage::Point& p) {
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

TPhotoImage::TPhotoImage(QWidget* owner) : QWidget(owner), FJpeg(std::make_unique<lumatrim::JpegImage>()) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  cursorShape_ = Qt::CrossCursor;
  setCursor(cursorShape_);
  hide();
  setEnabled(false);
}

TPhotoImage::~TPhotoImage() = default;

void TPhotoImage::SetCropControls(QAbstractButton* button, QLabel* label) {
  FCropButton = button;
  FCropLabel = label;
}

void TPhotoImage::LoadPhoto(const QString& path) {
  FEmpty = path.isEmpty();
  if (FEmpty) return;
  // Loaded aside first, so a file that is not a JPEG leaves the shown photo whole.
  auto next = std::make_unique<lumatrim::JpegImage>();
  next->LoadFromFile(path.toStdString());
  FJpeg = std::move(next);
}

int TPhotoImage::PhotoWidth() const { return FJpeg->Width(); }
int TPhotoImage::PhotoHeight() const { return FJpeg->Height(); }

void TPhotoImage::ShowFitted(int boxWidth, int boxHeight, bool fitSquare, bool interactive) {
  if (!FEmpty) {
    ClearSelection();
    photofit::Placement p = photofit::Fit(FJpeg->Width(), FJpeg->Height(), boxWidth, boxHeight, fitSquare);
    QImage fitted;
    if (p.Width > 0 && p.Height > 0) {
      // libjpeg's DCT scaling does most of the reduction while decoding; the
      // last step to the exact size is a smooth resample of a small picture.
      lumatrim::Bitmap bitmap = FJpeg->Decode(FJpeg->PreviewScale(p.Width, p.Height));
      QImage decoded(bitmap.Bytes.data(), bitmap.Width, bitmap.Height, static_cast<qsizetype>(bitmap.Stride()),
                     QImage::Format_RGB888);
      fitted = decoded.convertToFormat(QImage::Format_RGB32);
      if (fitted.size() != QSize(p.Width, p.Height))
        fitted = fitted.scaled(p.Width, p.Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
    }
    setGeometry(p.Left, p.Top, p.Width, p.Height);
    FScale = p.Scale;
    picture_ = fitted;
    update();
  }
  setEnabled(interactive && !FEmpty);
  setVisible(!FEmpty);
}

QString TPhotoImage::DimensionsText() const {
  if (FEmpty) return {};
  return QStringLiteral("%1 × %2").arg(FJpeg->Width()).arg(FJpeg->Height());
}

QString TPhotoImage::ScaleText() const {
  if (FEmpty) return {};
  return QStringLiteral("%1%").arg(photofit::ScalePercent(FScale));
}

void TPhotoImage::ClearSelection() {
  InvertFrame(FSelection);
  FSelection = {};
  FAnchor = {};
  FLastPoint = {};
  if (FCropLabel) FCropLabel->clear();
  if (FCropButton) FCropButton->setEnabled(false);
  update();
}

void TPhotoImage::ClearPicture() {
  ClearSelection();
  picture_ = QImage();
  setEnabled(false);
  update();
}

TPhotoImage::Point TPhotoImage::ToPhoto(const QPoint& client) const {
  return {photofit::ClientToPhoto(client.x(), width(), FScale), photofit::ClientToPhoto(client.y(), height(), FScale)};
}

TPhotoImage::Rect TPhotoImage::ToClient(const Rect& photo) const {
  if (photo.Empty()) return photo;
  return {photofit::RoundEven(photo.Left * FScale), photofit::RoundEven(photo.Top * FScale),
          photofit::RoundEven(photo.Right * FScale), photofit::RoundEven(photo.Bottom * FScale)};
}

void TPhotoImage::InvertFrame(const Rect& photo) {
  if (photo.Empty() || picture_.isNull()) return;
  Rect c = ToClient(photo);
  // A closed polyline: each segment leaves its end out, so every pixel of the
  // frame is inverted exactly once and a second pass restores it.
  InvertSegment(picture_, c.Left, c.Top, c.Right, c.Top);
  InvertSegment(picture_, c.Right, c.Top, c.Right, c.Bottom);
  InvertSegment(picture_, c.Right, c.Bottom, c.Left, c.Bottom);
  InvertSegment(picture_, c.Left, c.Bottom, c.Left, c.Top);
}

void TPhotoImage::SetSelection(const Rect& next) {
  if (next == FSelection) return;
  InvertFrame(FSelection);
  FSelection = next;
  InvertFrame(FSelection);
  ShowSelectionText();
  update();
}

void TPhotoImage::ShowSelectionText() {
  if (FSelection.Empty()) return;
  if (FCropLabel)
    FCropLabel->setText(QStringLiteral("x:%1  y:%2    %3 × %4")
                            .arg(FSelection.Left)
                            .arg(FSelection.Top)
                            .arg(FSelection.Right - FSelection.Left)
                            .arg(FSelection.Bottom - FSelection.Top));
  if (FCropButton) FCropButton->setEnabled(true);
}

void TPhotoImage::HitTest(const Point& p) {
  Qt::CursorShape shape = Qt::CrossCursor;
  FDragMode = 0;
  const Rect& s = FSelection;
  if (!s.Empty()) {
    if (Contains(s.Left + kMargin, s.Top + kMargin, s.Right - kMargin, s.Bottom - kMargin, p)) {
      shape = Qt::SizeAllCursor;
      FDragMode = 5;
    } else {
      // Later bands win at the corners: top over the sides, left over bottom,
      // bottom over right.
      struct Band {
        int l, t, r, b;
        Qt::CursorShape cursor;
        int mode;
      };
      const Band bands[] = {
          {s.Right - kMargin, s.Top, s.Right + kMargin, s.Bottom, Qt::SizeHorCursor, 2},
          {s.Left, s.Bottom - kMargin, s.Right, s.Bottom + kMargin, Qt::SizeVerCursor, 3},
          {s.Left - kMargin, s.Top, s.Left + kMargin, s.Bottom, Qt::SizeHorCursor, 4},
          {s.Left, s.Top - kMargin, s.Right, s.Top + kMargin, Qt::SizeVerCursor, 1},
      };
      for (const Band& band : bands) {
        if (Contains(band.l, band.t, band.r, band.b, p)) {
          shape = band.cursor;
          FDragMode = band.mode;
        }
      }
    }
  }
  if (shape != cursorShape_) {
    cursorShape_ = shape;
    setCursor(shape);
  }
}

void TPhotoImage::DragTo(const Point& p) {
  const int photoW = FJpeg->Width();
  const int photoH = FJpeg->Height();
  Rect next = FSelection;
  switch (FDragMode) {
    case 0: {
      Point s{Snap(p.X), Snap(p.Y)};
      next = {std::min(FAnchor.X, s.X), std::min(FAnchor.Y, s.Y), std::max(FAnchor.X, s.X), std::max(FAnchor.Y, s.Y)};
      break;
    }
    case 1:
      if (p.Y < next.Bottom) {
        int t = next.Bottom - Snap(next.Bottom - p.Y);
        if (t >= 0) next.Top = t;
      }
      break;
    case 4:
      if (p.X < next.Right) {
        int l = next.Right - Snap(next.Right - p.X);
        if (l >= 0) next.Left = l;
      }
      break;
    case 2:
      if (p.X > next.Left) {
        int r = next.Left + Snap(p.X - next.Left);
        if (r <= photoW) next.Right = r;
      }
      break;
    case 3:
      if (p.Y > next.Top) {
        int b = next.Top + Snap(p.Y - next.Top);
        if (b <= photoH) next.Bottom = b;
      }
      break;
    case 5: {
      Point s{Snap(p.X), Snap(p.Y)};
      auto step = [](int low, int high, int delta, int limit) {
        if (low + delta < 0) return -low;  // stops exactly at the border
        if (high + delta > limit) return Snap(limit - high);
        return delta;
      };
      int dx = step(next.Left, next.Right, s.X - FLastPoint.X, photoW);
      int dy = step(next.Top, next.Bottom, s.Y - FLastPoint.Y, photoH);
      next = {next.Left + dx, next.Top + dy, next.Right + dx, next.Bottom + dy};
      FLastPoint = s;
      break;
    }
    default:
      break;
  }
  SetSelection(next);
}

void TPhotoImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  painter.drawImage(0, 0, picture_);
}

void TPhotoImage::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  // A press where the cursor is the cross-hair starts a new selection.
  if (cursorShape_ == Qt::CrossCursor) ClearSelection();
  Point p = ToPhoto(event->position().toPoint());
  FAnchor = FLastPoint = {Snap(p.X), Snap(p.Y)};
}

void TPhotoImage::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (FSelection.Left == FSelection.Right || FSelection.Top == FSelection.Bottom) ClearSelection();
}

void TPhotoImage::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  Point p = ToPhoto(event->position().toPoint());
  if (event->buttons() & Qt::LeftButton)
    DragTo(p);
  else
    HitTest(p);
}

void TPhotoImage::mouseDoubleClickEvent(QMouseEvent*) {
  // Not passed on: the base class would replay it as a second press.
  ClearSelection();
}
