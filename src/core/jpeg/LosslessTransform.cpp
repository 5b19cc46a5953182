#include "core/jpeg/LosslessTransform.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/bytes/Error.h"
#include "core/jpeg/JpegCodec.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/MappedBlockArrays.h"
#include "core/jpeg/TransformedBlocks.h"

namespace lumatrim {
namespace {

constexpr int kBlockSide = 8;  // one DCT block; a gray stream's block whatever its factors

// Each transform as the blocks undergo it: axes swapped first, then the
// result mirrored. A mirrored side is trimmed to whole blocks: the source's
// partial right column or bottom row would land at its left or top.
struct TransformRow {
  PixelTransform transform;
  jpeg::BlockMotion motion;
};

constexpr TransformRow kTransforms[] = {
    {PixelTransform::None,           {.transposes = false, .mirrorsColumns = false, .mirrorsRows = false}},
    {PixelTransform::FlipHorizontal, {.transposes = false, .mirrorsColumns = true,  .mirrorsRows = false}},
    {PixelTransform::Rotate180,      {.transposes = false, .mirrorsColumns = true,  .mirrorsRows = true}},
    {PixelTransform::FlipVertical,   {.transposes = false, .mirrorsColumns = false, .mirrorsRows = true}},
    {PixelTransform::Transpose,      {.transposes = true,  .mirrorsColumns = false, .mirrorsRows = false}},
    {PixelTransform::Rotate90,       {.transposes = true,  .mirrorsColumns = true,  .mirrorsRows = false}},
    {PixelTransform::Transverse,     {.transposes = true,  .mirrorsColumns = true,  .mirrorsRows = true}},
    {PixelTransform::Rotate270,      {.transposes = true,  .mirrorsColumns = false, .mirrorsRows = true}},
};

jpeg::BlockMotion MotionOf(PixelTransform transform) {
  for (const TransformRow& row : kTransforms) {
    if (row.transform == transform) return row.motion;
  }
  return kTransforms[0].motion;
}

void RefuseNonJpeg(const std::string& jpeg) {
  if (jpeg.size() < 4 || static_cast<uint8_t>(jpeg[0]) != 0xFF || static_cast<uint8_t>(jpeg[1]) != 0xD8) {
    throw LumatrimError(FailureKind::NotJpeg, "not a JPEG stream");
  }
}

BlockLayout LayoutOf(const jpeg_decompress_struct& info, size_t streamBytes) {
  BlockLayout layout{.width = static_cast<int>(info.image_width), .height = static_cast<int>(info.image_height)};
  if (!PlausiblePictureSize(info.image_width, info.image_height, streamBytes)) {
    throw LumatrimError(FailureKind::DamagedData, "the JPEG header claims an implausible size of " +
                                                      std::to_string(layout.width) + " x " +
                                                      std::to_string(layout.height) + " pixels");
  }
  if (info.num_components > 1) {
    layout.blockWidth = kBlockSide * info.max_h_samp_factor;
    layout.blockHeight = kBlockSide * info.max_v_samp_factor;
  }
  return layout;
}

int DivideRoundingUp(int64_t value, int64_t divisor) { return static_cast<int>((value + divisor - 1) / divisor); }

// The result's sampling: a gray stream codes one block per MCU whatever its
// factors say, so it gets 1 x 1; the others swap theirs with the axes.
jpeg::TransformedHeader ResultHeader(const jpeg_decompress_struct& source, int width, int height, bool transposes) {
  jpeg::TransformedHeader header{.width = width, .height = height, .transposed = transposes, .sampling = {}};
  for (int c = 0; c < source.num_components; ++c) {
    const jpeg_component_info& component = source.comp_info[c];
    if (source.num_components == 1) {
      header.sampling.emplace_back(1, 1);
    } else if (transposes) {
      header.sampling.emplace_back(component.v_samp_factor, component.h_samp_factor);
    } else {
      header.sampling.emplace_back(component.h_samp_factor, component.v_samp_factor);
    }
  }
  return header;
}

// Each result component's blocks, as the encoder will count them, over the
// source component of the same index.
std::vector<jpeg::ComponentPlan> PlanComponents(const jpeg::TransformedHeader& header,
                                                jvirt_barray_ptr* sourceArrays) {
  int maxH = 1, maxV = 1;
  for (const auto& [h, v] : header.sampling) {
    maxH = std::max(maxH, h);
    maxV = std::max(maxV, v);
  }
  std::vector<jpeg::ComponentPlan> plans;
  for (size_t c = 0; c < header.sampling.size(); ++c) {
    const auto [h, v] = header.sampling[c];
    plans.push_back({
        .widthInBlocks = static_cast<JDIMENSION>(DivideRoundingUp(int64_t{header.width} * h, kBlockSide * maxH)),
        .heightInBlocks = static_cast<JDIMENSION>(DivideRoundingUp(int64_t{header.height} * v, kBlockSide * maxV)),
        .paddedWidth = static_cast<JDIMENSION>(DivideRoundingUp(header.width, kBlockSide * maxH) * h),
        .paddedHeight = static_cast<JDIMENSION>(DivideRoundingUp(header.height, kBlockSide * maxV) * v),
        .source = &jpeg::MappedBlockArrays::Of(sourceArrays[c]),
    });
  }
  return plans;
}

}  // namespace

BlockLayout ReadBlockLayout(const std::string& jpeg) {
  RefuseNonJpeg(jpeg);
  jpeg::Decompressor header(jpeg, "JPEG stream");
  header.ReadHeader();
  return LayoutOf(header.Info(), jpeg.size());
}

EdgeTrim OutputTrim(const BlockLayout& layout, PixelTransform transform) {
  const jpeg::BlockMotion motion = MotionOf(transform);
  const bool swaps = SwapsSides(transform);
  const int width = swaps ? layout.height : layout.width;
  const int height = swaps ? layout.width : layout.height;
  const int blockWidth = swaps ? layout.blockHeight : layout.blockWidth;
  const int blockHeight = swaps ? layout.blockWidth : layout.blockHeight;
  EdgeTrim trim;
  // A picture smaller than one block keeps its only, partial block.
  if (motion.mirrorsColumns && width > blockWidth) trim.columns = width % blockWidth;
  if (motion.mirrorsRows && height > blockHeight) trim.rows = height % blockHeight;
  return trim;
}

std::string TransformJpeg(const std::string& jpeg, PixelTransform transform, const TransformOptions& options) {
  RefuseNonJpeg(jpeg);
  jpeg::MappedBlockArrays sourceMemory;  // outlives both codecs
  jpeg::Decompressor source(jpeg, "JPEG stream");
  sourceMemory.InstallOn(source.Info());
  if (options.copyMarkers) source.KeepAllMarkers();
  source.ReadHeader();
  const BlockLayout layout = LayoutOf(source.Info(), jpeg.size());

  const jpeg::BlockMotion motion = MotionOf(transform);
  const EdgeTrim trim = OutputTrim(layout, transform);
  auto [width, height] = TransformedSize(layout.width, layout.height, transform);
  width -= trim.columns;
  height -= trim.rows;
  // A mirrored side shorter than one block cannot be trimmed to whole ones:
  // its blocks are mirrored as they are, and the edge pixels the encoder
  // padded them with come into the picture. The best a lossless turn can do
  // for a picture that small, and not good enough for a thumbnail.
  const int resultBlockWidth = motion.transposes ? layout.blockHeight : layout.blockWidth;
  const int resultBlockHeight = motion.transposes ? layout.blockWidth : layout.blockHeight;
  const bool partialMirror = (motion.mirrorsColumns && width % resultBlockWidth != 0) ||
                             (motion.mirrorsRows && height % resultBlockHeight != 0);
  if ((trim.Any() || partialMirror) && options.partialBlocks == PartialBlocks::MustBeWhole) {
    throw LumatrimError(FailureKind::DamagedData, "the transform would move partial blocks to the picture's edge");
  }

  jvirt_barray_ptr* sourceArrays = source.ReadCoefficients();
  const jpeg::TransformedHeader header = ResultHeader(source.Info(), width, height, motion.transposes);
  const std::vector<jpeg::ComponentPlan> plans = PlanComponents(header, sourceArrays);
  // Sequential scans read the blocks once; progressive ones, scan after scan.
  jpeg::TransformedBlocks blocks(motion, plans, /*readOnce=*/!options.progressive);
  jpeg::Compressor target("JPEG stream");
  target.ExpectBytes(jpeg.size() + jpeg.size() / 16);  // a turned stream codes about as many bytes
  target.WriteTransformed(source.Info(), header, blocks, plans, options.copyMarkers, options.progressive);
  return target.TakeBytes();
}

}  // namespace lumatrim
