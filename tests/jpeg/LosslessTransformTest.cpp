// The in-memory lossless transform: every kind of stream is either turned to
// the size its plan says, showing the transformed picture, or refused whole.
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
    for (PixelTransform transform : kAll) {
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

}  // namespace
}  // namespace lumatrim::test
