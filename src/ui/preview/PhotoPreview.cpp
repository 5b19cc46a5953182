#include "ui/preview/PhotoPreview.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cmath>

#include "core/jpeg/JpegImage.h"
#include "ui/preview/Orientation.h"
#include "ui/preview/PhotoFit.h"
#include "ui/preview/PreviewLoader.h"

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

PhotoPreview::PhotoPreview(QWidget* owner) : QWidget(owner), loader_(new PreviewLoader(this)) {
  connect(loader_, &PreviewLoader::Decoded, this, &PhotoPreview::ShowDecoded);
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

void PhotoPreview::LoadPhoto(const QString& path, int orientation) {
  loader_->Cancel();
  empty_ = path.isEmpty();
  if (empty_) return;
  // Only the header is checked here, so a file that is not a JPEG leaves the
  // shown photo whole; ShowFitted decodes.
  lumatrim::JpegImage header;
  header.LoadFromFile(QFile::encodeName(path).toStdString());
  path_ = path;
  orientation_ = orientation;
  const QSize upright = orientation::UprightSize(QSize(header.Width(), header.Height()), orientation);
  photoWidth_ = upright.width();
  photoHeight_ = upright.height();
}

PreviewRequest PhotoPreview::MakeRequest(int boxWidth, int boxHeight) const {
  PreviewRequest request;
  request.Path = path_;
  request.Orientation = orientation_;
  request.BoxWidth = boxWidth;
  request.BoxHeight = boxHeight;
  request.FitSquare = fitSquare_;
  request.PixelRatio = devicePixelRatioF();
  return request;
}

void PhotoPreview::ShowFitted(int boxWidth, int boxHeight, bool fitSquare, bool interactive) {
  fitSquare_ = fitSquare;
  interactive_ = interactive;
  if (!empty_) {
    const DecodedPreview result = DecodePreview(MakeRequest(boxWidth, boxHeight));
    if (result.Failed) throw lumatrim::LumatrimError(result.Kind, result.Detail.toStdString());
    ShowDecoded(result);
    return;
  }
  setEnabled(false);
  setVisible(false);
}

void PhotoPreview::ShowPhotoAsync(const QString& path, int orientation, const QImage& thumbnail, int boxWidth,
                                  int boxHeight, bool fitSquare, bool interactive) {
  fitSquare_ = fitSquare;
  interactive_ = interactive;
  if (path.isEmpty()) {
    loader_->Cancel();
    empty_ = true;
    setEnabled(false);
    setVisible(false);
    return;
  }
  path_ = path;
  orientation_ = orientation;
  if (!thumbnail.isNull())
    ShowThumbnail(orientation::Upright(thumbnail, orientation), boxWidth, boxHeight, fitSquare);
  loader_->Request(MakeRequest(boxWidth, boxHeight));
}

void PhotoPreview::RefitAsync(int boxWidth, int boxHeight) {
  if (empty_ || path_.isEmpty()) return;
  loader_->Request(MakeRequest(boxWidth, boxHeight));
}

bool PhotoPreview::Decoding() const { return loader_->Busy(); }

bool PhotoPreview::WaitUntilDecoded(int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (loader_->Busy() && clock.elapsed() < timeoutMs)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  return !loader_->Busy();
}

void PhotoPreview::ShowThumbnail(const QImage& upright, int boxWidth, int boxHeight, bool fitSquare) {
  // The thumbnail has the photo's proportions, so it takes the place the
  // photo will take; it is only a stand-in, not for drawing a selection on.
  constexpr int kStandIn = 64;  // pretend it is large, so Fit reduces rather than keeps it small
  const photofit::Placement p =
      photofit::Fit(upright.width() * kStandIn, upright.height() * kStandIn, boxWidth, boxHeight, fitSquare);
  if (p.Width <= 0 || p.Height <= 0) return;
  ClearSelection();
  const double ratio = devicePixelRatioF();
  QImage picture = upright.scaled(QSize(static_cast<int>(std::lround(p.Width * ratio)),
                                        static_cast<int>(std::lround(p.Height * ratio))),
                                  Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
  picture.setDevicePixelRatio(ratio);
  setGeometry(p.Left, p.Top, p.Width, p.Height);
  picture_ = picture;
  setEnabled(false);
  setVisible(true);
  update();
}

void PhotoPreview::ShowDecoded(const DecodedPreview& result) {
  if (result.Failed) {
    emit PhotoFailed(result.Kind, result.Detail);
    return;
  }
  empty_ = false;
  path_ = result.Path;
  photoWidth_ = result.PhotoWidth;
  photoHeight_ = result.PhotoHeight;
  ClearSelection();
  const photofit::Placement& p = result.Place;
  setGeometry(p.Left, p.Top, p.Width, p.Height);
  scale_ = p.Scale;
  picture_ = result.Picture;
  setEnabled(interactive_);
  setVisible(true);
  update();
  emit PhotoShown();
}

QString PhotoPreview::DimensionsText() const {
  if (empty_) return {};
  return QStringLiteral("%1 × %2").arg(photoWidth_).arg(photoHeight_);
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
  loader_->Cancel();
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
  // The picture has device pixels (twice as many on a high-density screen).
  const double ratio = picture_.devicePixelRatio();
  if (ratio != 1.0) {
    const auto device = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
    c = {device(c.Left), device(c.Top), device(c.Right), device(c.Bottom)};
  }
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
  const int photoW = photoWidth_;
  const int photoH = photoHeight_;
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
