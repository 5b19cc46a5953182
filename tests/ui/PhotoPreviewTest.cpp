#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <tuple>

#include "JpegBuilder.h"
#include "UiTestPhotos.h"
#include "ui/preview/PhotoFit.h"
#include "ui/preview/PhotoPreview.h"

using lumatrim::test::TempDir;
using Rect = PhotoPreview::Rect;
using uitest::Q;

namespace {

TEST(PhotoFit, FitsA200x150BoxRoundsAndMapsTheBorder) {
  struct Row {
    int pw, ph, left, top, width, height, percent;
  } rows[] = {
      {3072, 2304, 25, 19, 150, 112, 5}, {2304, 3072, 44, 0, 112, 150, 5}, {640, 480, 25, 19, 150, 112, 23},
      {1600, 1600, 25, 0, 150, 150, 9},  {100, 80, 50, 35, 100, 80, 100},
      {900, 1200, 44, 0, 112, 150, 12},  // exactly 12.5 %: halves round to even
  };
  for (const Row& r : rows) {
    photofit::Placement p = photofit::Fit(r.pw, r.ph, 200, 150, true);
    EXPECT_EQ(std::tuple(p.Left, p.Top, p.Width, p.Height, photofit::ScalePercent(p.Scale)),
              std::tuple(r.left, r.top, r.width, r.height, r.percent)) << r.pw << " x " << r.ph;
  }
  EXPECT_EQ(photofit::Fit(3072, 2304, 200, 150, false).Width, 200) << "without the square limit";
  // 3008 x 2000 shows as 150 x 99; the last column maps past the photo.
  const double scale = photofit::Fit(3008, 2000, 200, 150, true).Scale;
  EXPECT_EQ(photofit::ClientToPhoto(149, 150, scale), 3030);
  EXPECT_EQ(photofit::Snap(3030), 3024);
  EXPECT_EQ(photofit::ClientToPhoto(-3, 150, scale), 0);
}

// A 640 x 480 photo in the main window's 200 x 150 panel: shown 150 x 112,
// scale 112/480, so client x maps to round(x * 480 / 112).
class PhotoPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel.resize(200, 150);
    image = new PhotoPreview(&panel);
    image->SetCropControls(&button, &label);
    image->LoadPhoto(Q(uitest::WritePhoto(dir.File("p.jpg"), 640, 480)));
    image->ShowFitted(200, 150, true, true);
    original = image->Picture();
  }
  void Press(QPoint pos) { uitest::SendMouse(image, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton); }
  void Drag(QPoint pos) { uitest::SendMouse(image, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton); }
  void Hover(QPoint pos) { uitest::SendMouse(image, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton); }
  void Release(QPoint pos) { uitest::SendMouse(image, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton); }
  void DrawSelection(QPoint from, QPoint to) {
    Hover(from);
    Press(from);
    Drag(to);
    Release(to);
  }

  TempDir dir;
  QWidget panel;
  QPushButton button;
  QLabel label;
  PhotoPreview* image = nullptr;
  QImage original;
};

TEST_F(PhotoPreviewTest, ShownFittedAndDescribed) {
  EXPECT_EQ(image->geometry(), QRect(25, 19, 150, 112));
  EXPECT_EQ(image->DimensionsText() + image->ScaleText(), QStringLiteral("640 × 48023%"));
  EXPECT_FALSE(button.isEnabled());
  image->LoadPhoto(QString());
  image->ShowFitted(200, 150, true, true);
  EXPECT_TRUE(image->isHidden());
  EXPECT_TRUE(image->DimensionsText().isEmpty());
}

TEST_F(PhotoPreviewTest, NewSelectionSnapsToTheGridAndIsDescribed) {
  // (10,10) -> photo (43,43) -> anchor (32,32); (60,50) -> (257,214) -> (256,208).
  DrawSelection({10, 10}, {60, 50});
  EXPECT_EQ(image->Selection(), (Rect{32, 32, 256, 208}));
  EXPECT_EQ(label.text(), QStringLiteral("x:32  y:32    224 × 176"));
  EXPECT_TRUE(button.isEnabled());

  // Dragging up-left of the anchor keeps the anchor as the opposite corner.
  DrawSelection({60, 50}, {10, 10});
  EXPECT_EQ(image->Selection(), (Rect{32, 32, 256, 208}));
}

TEST_F(PhotoPreviewTest, FrameIsInvertedAndErasedByInvertingAgain) {
  DrawSelection({10, 10}, {60, 50});
  // Client frame: 32, 32, 256, 208 times 112/480 -> 7, 7, 60, 49 (rounded).
  const QImage& shown = image->Picture();
  for (QPoint p : {QPoint(7, 7), QPoint(60, 49), QPoint(30, 7)})
    EXPECT_EQ(shown.pixel(p), original.pixel(p) ^ 0x00FFFFFFu) << p.x() << "," << p.y();
  int changed = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) changed += shown.pixel(x, y) != original.pixel(x, y);
  EXPECT_EQ(changed, 2 * (53 + 42)) << "every frame pixel exactly once";

  uitest::SendMouse(image, QEvent::MouseButtonDblClick, {30, 30}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(image->Selection().Empty());
  EXPECT_EQ(image->Picture(), original);
  EXPECT_TRUE(label.text().isEmpty());
  EXPECT_FALSE(button.isEnabled());

  DrawSelection({10, 10}, {60, 50});
  Hover({100, 100});
  Press({100, 100});
  EXPECT_TRUE(image->Selection().Empty()) << "a press outside starts over";
}

TEST_F(PhotoPreviewTest, HitTestPicksTheDragMode) {
  DrawSelection({10, 10}, {60, 50});  // photo 32, 32, 256, 208
  using Mode = PhotoPreview::DragMode;
  struct Probe {
    const char* where;
    QPoint client;  // photo point = round(client * 480 / 112)
    Mode mode;
  } probes[] = {
      {"inside", {30, 30}, Mode::Move},                {"outside", {100, 100}, Mode::NewSelection},
      {"right edge", {60, 30}, Mode::RightEdge},       {"bottom edge", {30, 49}, Mode::BottomEdge},
      {"left edge", {7, 30}, Mode::LeftEdge},          {"top edge", {30, 7}, Mode::TopEdge},
      // Corners: where two bands overlap, e.g. client (8,8) is photo (34,34).
      {"top-left corner", {8, 8}, Mode::TopEdge},      {"bottom-left corner", {8, 48}, Mode::LeftEdge},
      {"bottom-right corner", {59, 48}, Mode::BottomEdge},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE(p.where);
    Hover(p.client);
    EXPECT_EQ(image->CurrentDragMode(), p.mode);
  }
}

TEST_F(PhotoPreviewTest, MovingAndEdgesStopAtTheBordersAndAZeroWidthIsCleared) {
  DrawSelection({10, 10}, {60, 50});  // 32, 32, 256, 208
  Hover({30, 30});
  Press({30, 30});
  Drag({0, 0});  // far left and up: stops exactly at 0
  EXPECT_EQ(image->Selection(), (Rect{0, 0, 224, 176}));
  Drag({149, 111});  // the last column and row map to 640 and 480
  Release({149, 111});
  // Right: step = snap(640 - 224) = 416; bottom: snap(480 - 176) = 304.
  EXPECT_EQ(image->Selection(), (Rect{416, 304, 640, 480}));

  DrawSelection({10, 10}, {60, 50});
  Hover({60, 30});
  ASSERT_EQ(image->CurrentDragMode(), PhotoPreview::DragMode::RightEdge);
  Press({60, 30});
  Drag({149, 30});  // 640: left + snap(640 - 32) = 640 fits
  EXPECT_EQ(image->Selection().Right, 640);
  Drag({10, 30});  // photo 43: less than 16 from the left edge -> width 0
  EXPECT_EQ(image->Selection().Right, 32);
  Release({10, 30});
  EXPECT_TRUE(image->Selection().Empty());
  EXPECT_EQ(image->Picture(), original);
  EXPECT_FALSE(button.isEnabled());
}

}  // namespace
