#include "core/jpeg/LosslessTransform.h"

#include <turbojpeg.h>

#include <memory>

#include "core/bytes/Error.h"
#include "core/jpeg/JpegCodec.h"
#include "core/jpeg/JpegImage.h"

namespace lumatrim {
namespace {

constexpr int kBlockSide = 8;  // one DCT block; a gray stream's block whatever its factors

// Which sides of the result a transform trims to whole blocks: those where
// the source's partial right column or bottom row would land at the left or
// top. Sides are the result's.
struct TransformRow {
  PixelTransform transform;
  TJXOP operation;
  bool trimsWidth;
  bool trimsHeight;
};

constexpr TransformRow kTransforms[] = {
    {PixelTransform::None,           TJXOP_NONE,      false, false},
    {PixelTransform::FlipHorizontal, TJXOP_HFLIP,     true,  false},
    {PixelTransform::Rotate180,      TJXOP_ROT180,    true,  true},
    {PixelTransform::FlipVertical,   TJXOP_VFLIP,     false, true},
    {PixelTransform::Transpose,      TJXOP_TRANSPOSE, false, false},
    {PixelTransform::Rotate90,       TJXOP_ROT90,     true,  false},
    {PixelTransform::Transverse,     TJXOP_TRANSVERSE, true, true},
    {PixelTransform::Rotate270,      TJXOP_ROT270,    false, true},
};

const TransformRow& RowOf(PixelTransform transform) {
  for (const TransformRow& row : kTransforms) {
    if (row.transform == transform) return row;
  }
  return kTransforms[0];
}

struct HandleCloser {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct BufferFree {
  void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

Handle NewTransformer() {
  Handle handle(tjInitTransform());
  if (!handle) throw LumatrimError(FailureKind::OutOfMemory, std::string("TurboJPEG: ") + tjGetErrorStr2(nullptr));
  return handle;
}

const unsigned char* Bytes(const std::string& jpeg) { return reinterpret_cast<const unsigned char*>(jpeg.data()); }

BlockLayout ReadLayout(void* handle, const std::string& jpeg) {
  if (jpeg.size() < 4 || static_cast<uint8_t>(jpeg[0]) != 0xFF || static_cast<uint8_t>(jpeg[1]) != 0xD8) {
    throw LumatrimError(FailureKind::NotJpeg, "not a JPEG stream");
  }
  BlockLayout layout;
  int sampling = 0, colorspace = 0;
  if (tjDecompressHeader3(handle, Bytes(jpeg), jpeg.size(), &layout.width, &layout.height, &sampling, &colorspace) != 0) {
    throw LumatrimError(FailureKind::DamagedData, std::string("the JPEG header cannot be read: ") + tjGetErrorStr2(handle));
  }
  if (sampling < 0 || sampling >= TJ_NUMSAMP) {
    throw LumatrimError(FailureKind::DamagedData, "the JPEG stream has a sampling layout that cannot be turned");
  }
  if (!PlausiblePictureSize(layout.width, layout.height, jpeg.size())) {
    throw LumatrimError(FailureKind::DamagedData, "the JPEG header claims an implausible size of " +
                                                      std::to_string(layout.width) + " x " +
                                                      std::to_string(layout.height) + " pixels");
  }
  // TurboJPEG names some unusual factors by the layout they amount to (luma
  // 2x2 with chroma 1x2 as 4:2:2), but the transform moves the blocks the
  // factors make; libjpeg's own header says what they are.
  jpeg::Decompressor header(jpeg, "JPEG stream");
  header.ReadHeader();
  const jpeg_decompress_struct& info = header.Info();
  if (info.num_components > 1) {
    layout.blockWidth = kBlockSide * info.max_h_samp_factor;
    layout.blockHeight = kBlockSide * info.max_v_samp_factor;
  }
  return layout;
}

}  // namespace

BlockLayout ReadBlockLayout(const std::string& jpeg) {
  const Handle handle = NewTransformer();
  return ReadLayout(handle.get(), jpeg);
}

EdgeTrim OutputTrim(const BlockLayout& layout, PixelTransform transform) {
  const TransformRow& row = RowOf(transform);
  const bool swaps = SwapsSides(transform);
  const int width = swaps ? layout.height : layout.width;
  const int height = swaps ? layout.width : layout.height;
  const int blockWidth = swaps ? layout.blockHeight : layout.blockWidth;
  const int blockHeight = swaps ? layout.blockWidth : layout.blockHeight;
  EdgeTrim trim;
  // A picture smaller than one block keeps its only, partial block.
  if (row.trimsWidth && width > blockWidth) trim.columns = width % blockWidth;
  if (row.trimsHeight && height > blockHeight) trim.rows = height % blockHeight;
  return trim;
}

std::string TransformJpeg(const std::string& jpeg, PixelTransform transform, const TransformOptions& options) {
  const Handle handle = NewTransformer();
  (void)ReadLayout(handle.get(), jpeg);  // refuses what we would not decode either

  tjtransform request{};
  request.op = RowOf(transform).operation;
  request.options = options.partialBlocks == PartialBlocks::Trim ? TJXOPT_TRIM : TJXOPT_PERFECT;
  if (!options.copyMarkers) request.options |= TJXOPT_COPYNONE;
  if (options.progressive) request.options |= TJXOPT_PROGRESSIVE;
  // A warning means damaged data; a hostile progressive stream may not make
  // us walk thousands of scans.
  const int flags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;

  unsigned char* output = nullptr;
  unsigned long outputSize = 0;
  const int status = tjTransform(handle.get(), Bytes(jpeg), jpeg.size(), 1, &output, &outputSize, &request, flags);
  const std::unique_ptr<unsigned char, BufferFree> owned(output);
  if (status != 0 || !output || outputSize == 0) {
    throw LumatrimError(FailureKind::DamagedData, std::string("the JPEG stream cannot be transformed: ") +
                                                      tjGetErrorStr2(handle.get()));
  }
  return std::string(reinterpret_cast<const char*>(output), outputSize);
}

}  // namespace lumatrim
