// A transform and its inverse give back the very blocks the stream started
// with: coded again the same way, the bytes are equal. Pictures of whole
// blocks, tall and wide enough that the result is made in several bands.
#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/jpeg/LosslessTransform.h"
#include "support/OrientedPhotos.h"

namespace lumatrim::test {
namespace {

constexpr PixelTransform kAll[] = {
    PixelTransform::None,      PixelTransform::FlipHorizontal, PixelTransform::Rotate180,  PixelTransform::FlipVertical,
    PixelTransform::Transpose, PixelTransform::Rotate90,       PixelTransform::Transverse, PixelTransform::Rotate270,
};

PixelTransform Inverse(PixelTransform transform) {
  for (PixelTransform candidate : kAll) {
    if (Then(transform, candidate) == PixelTransform::None) return candidate;
  }
  return PixelTransform::None;
}

TEST(LosslessRoundTrip, EveryTransformAndItsInverseGiveBackTheSameBlocks) {
  // 272 x 160: whole 16 px blocks; 34 and 20 block rows, more than one band.
  const Bitmap photo = MakePhoto(272, 160);
  for (const auto& [kind, stream] : StreamKinds(photo)) {
    for (const bool progressive : {false, true}) {
      const TransformOptions options{.partialBlocks = PartialBlocks::MustBeWhole, .progressive = progressive};
      const std::string untouched = TransformJpeg(stream, PixelTransform::None, options);
      for (PixelTransform transform : kAll) {
        SCOPED_TRACE(std::string(kind) + (progressive ? ", progressive" : "") + ", transform " +
                     std::to_string(static_cast<int>(transform)));
        const std::string there = TransformJpeg(stream, transform, options);
        EXPECT_EQ(TransformJpeg(there, Inverse(transform), options), untouched);
      }
    }
  }
}

TEST(LosslessRoundTrip, PicturesSmallerThanOneBlockAreTurnedButNeverAsWhole) {
  const struct {
    int width, height;
    PixelTransform transform;
    bool wholeRefused;
  } rows[] = {
      {8, 8, PixelTransform::Rotate90, true},     // 4:2:0 blocks are 16 px
      {8, 8, PixelTransform::Transpose, false},   // nothing mirrored
      {16, 8, PixelTransform::FlipVertical, true},
      {16, 8, PixelTransform::FlipHorizontal, false},
      {16, 16, PixelTransform::Transverse, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height) + ", transform " +
                 std::to_string(static_cast<int>(row.transform)));
    const std::string stream = EncodeRgb(MakePhoto(row.width, row.height));
    const JpegImage turned = Loaded(TransformJpeg(stream, row.transform));
    EXPECT_EQ(std::pair(turned.Width(), turned.Height()), TransformedSize(row.width, row.height, row.transform));
    if (row.wholeRefused) {
      EXPECT_THROW(TransformJpeg(stream, row.transform, {.partialBlocks = PartialBlocks::MustBeWhole}), LumatrimError);
    } else {
      EXPECT_NO_THROW(TransformJpeg(stream, row.transform, {.partialBlocks = PartialBlocks::MustBeWhole}));
    }
  }
}

TEST(LosslessRoundTrip, TheSourcesJfifSegmentIsNotWrittenTwice) {
  const std::string turned = TransformJpeg(EncodeRgb(MakePhoto(64, 48)), PixelTransform::Rotate90);
  int jfif = 0;
  for (const auto& [marker, payload] : Segments(turned)) jfif += marker == 0xE0 && payload.rfind("JFIF", 0) == 0;
  EXPECT_EQ(jfif, 1);
}

}  // namespace
}  // namespace lumatrim::test
