// The eight pixel transforms: each Orientation's transform makes its stored
// picture upright, and combined transforms equal applying both in turn.
#include <gtest/gtest.h>

#include "core/jpeg/Orientation.h"
#include "support/OrientedPhotos.h"

namespace lumatrim::test {
namespace {

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  return a.Width == b.Width && a.Height == b.Height && a.Bytes == b.Bytes;
}

TEST(PixelTransform, EachOrientationsTransformMakesItsStoredPictureUpright) {
  const Bitmap upright = LandmarkPicture(7, 4);  // odd and even sides, not square
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE("Orientation " + std::to_string(orientation));
    const PixelTransform t = UprightTransform(orientation);
    EXPECT_TRUE(SamePixels(ApplyTransform(StoredFor(upright, orientation), t), upright));
    EXPECT_EQ(SwapsSides(t), orientation >= 5);
  }
  EXPECT_TRUE(SamePixels(ApplyTransform(upright, PixelTransform::Rotate90), TurnedClockwise(upright)));
  for (int invalid : {0, 9, -1, 65535}) EXPECT_EQ(UprightTransform(invalid), PixelTransform::None) << invalid;
}

TEST(PixelTransform, ACombinedTransformEqualsApplyingBothInTurn) {
  const Bitmap picture = LandmarkPicture(5, 3);
  for (PixelTransform first : kAllPixelTransforms) {
    for (PixelTransform second : kAllPixelTransforms) {
      SCOPED_TRACE(std::to_string(static_cast<int>(first)) + " then " + std::to_string(static_cast<int>(second)));
      EXPECT_TRUE(SamePixels(ApplyTransform(picture, Then(first, second)),
                             ApplyTransform(ApplyTransform(picture, first), second)));
    }
  }
  // The case the rotation meets most: a photo stored for a clockwise turn,
  // turned left by the user, needs no change of its pixels at all.
  EXPECT_EQ(Then(PixelTransform::Rotate90, PixelTransform::Rotate270), PixelTransform::None);
  EXPECT_EQ(Then(PixelTransform::FlipHorizontal, PixelTransform::Rotate90), PixelTransform::Transverse);
}

}  // namespace
}  // namespace lumatrim::test
