// The in-memory lossless transform: every kind of stream is either turned to
// the size its plan says, showing the transformed picture, or refused whole.
#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/jpeg/LosslessTransform.h"
#include "support/OrientedPhotos.h"

namespace lumatrim::test {
namespace {

PixelTransform Inverse(PixelTransform transform) {
  for (PixelTransform candidate : kAllPixelTransforms) {
    if (Then(transform, candidate) == PixelTransform::None) return candidate;
  }
  return PixelTransform::None;
}

TEST(LosslessTransform, EveryStreamKindBecomesItsPlannedSizeOrIsRefused) {
  // 100 x 75: partial blocks at the right and bottom in every sampling.
  const Bitmap photo = MakePhoto(100, 75);
  for (const auto& [kind, stream] : StreamKinds(photo)) {
    BlockLayout layout;
    try {
      layout = ReadBlockLayout(stream);
    } catch (const LumatrimError&) {
      // A stream libjpeg refuses: the turn is refused as well.
      EXPECT_THROW(TransformJpeg(stream, PixelTransform::Rotate90), LumatrimError) << kind;
      continue;
    }
    const Bitmap source = DecodedBytes(stream);
    for (PixelTransform transform : kAllPixelTransforms) {
      SCOPED_TRACE(std::string(kind) + ", transform " + std::to_string(static_cast<int>(transform)));
      const Bitmap turned = DecodedBytes(TransformJpeg(stream, transform));
      const auto [width, height] = TransformedSize(100, 75, transform);
      const EdgeTrim trim = OutputTrim(layout, transform);
      ASSERT_EQ(std::pair(turned.Width, turned.Height), std::pair(width - trim.columns, height - trim.rows));
      // Turned back, it is the source less the trimmed blocks; compared away
      // from that edge, where the colour upsampling sees other neighbours.
      const bool swaps = SwapsSides(transform);
      const int keptWidth = 100 - (swaps ? trim.rows : trim.columns) - 8;
      const int keptHeight = 75 - (swaps ? trim.columns : trim.rows) - 8;
      EXPECT_LE(WorstLineDifference(Cropped(ApplyTransform(turned, Inverse(transform)), keptWidth, keptHeight),
                                    Cropped(source, keptWidth, keptHeight)),
                2.0);
    }
  }
}

TEST(LosslessTransform, OptionsAndDamagedStreams) {
  const std::string partial = EncodeRgb(MakePhoto(100, 75));
  const std::string whole = EncodeRgb(MakePhoto(96, 64));
  const std::string withComment = partial.substr(0, 2) + JpegBuilder().Com("kept?").Bytes() + partial.substr(2);
  const auto code = [](const std::string& stream, const TransformOptions& options) {
    try {
      TransformJpeg(stream, PixelTransform::Rotate90, options);
      return FailureKind::Other;
    } catch (const LumatrimError& error) {
      return error.Kind();
    }
  };
  EXPECT_EQ(code(partial, {.partialBlocks = PartialBlocks::MustBeWhole}), FailureKind::DamagedData);
  EXPECT_EQ(code(whole, {.partialBlocks = PartialBlocks::MustBeWhole}), FailureKind::Other) << "turned whole";
  EXPECT_EQ(code(partial.substr(0, partial.size() / 2), {}), FailureKind::DamagedData);
  EXPECT_EQ(code("not a photo", {}), FailureKind::NotJpeg);

  EXPECT_NE(TransformJpeg(withComment, PixelTransform::Rotate90).find("kept?"), std::string::npos);
  EXPECT_EQ(TransformJpeg(withComment, PixelTransform::Rotate90, {.copyMarkers = false}).find("kept?"),
            std::string::npos);
  EXPECT_TRUE(Loaded(TransformJpeg(whole, PixelTransform::Rotate90, {.progressive = true})).Progressive());
  EXPECT_FALSE(Loaded(TransformJpeg(whole, PixelTransform::Rotate90)).Progressive());
}

// A transform and its inverse give back the very blocks the stream started
// with: coded again the same way, the bytes are equal. A picture of whole
// blocks, tall and wide enough that the result is made in several bands.
TEST(LosslessTransform, EveryTransformAndItsInverseGiveBackTheSameBlocks) {
  // 272 x 160: whole 16 px blocks; 34 and 20 block rows, more than one band.
  const Bitmap photo = MakePhoto(272, 160);
  for (const auto& [kind, stream] : StreamKinds(photo)) {
    for (const bool progressive : {false, true}) {
      const TransformOptions options{.partialBlocks = PartialBlocks::MustBeWhole, .progressive = progressive};
      const std::string untouched = TransformJpeg(stream, PixelTransform::None, options);
      for (PixelTransform transform : kAllPixelTransforms) {
        SCOPED_TRACE(std::string(kind) + (progressive ? ", progressive" : "") + ", transform " +
                     std::to_string(static_cast<int>(transform)));
        const std::string there = TransformJpeg(stream, transform, options);
        EXPECT_EQ(TransformJpeg(there, Inverse(transform), options), untouched);
      }
    }
  }
}

TEST(LosslessTransform, PicturesSmallerThanOneBlockAreTurnedButNeverAsWhole) {
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

TEST(LosslessTransform, TheSourcesJfifSegmentIsNotWrittenTwice) {
  const std::string turned = TransformJpeg(EncodeRgb(MakePhoto(64, 48)), PixelTransform::Rotate90);
  int jfif = 0;
  for (const auto& [marker, payload] : Segments(turned)) jfif += marker == 0xE0 && payload.rfind("JFIF", 0) == 0;
  EXPECT_EQ(jfif, 1);
}

}  // namespace
}  // namespace lumatrim::test
