// The JPEG image object on hostile streams: header, full and reduced decode,
// the streamed Lanczos reduction, which must equal filtering the picture
// libjpeg decodes at the scale it chose, and the lossless turns.
#include "FuzzCommon.h"
#include "Targets.h"
#include "core/jpeg/LosslessTransform.h"

int lumatrim::fuzz::RunJpegDecode(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  JpegImage image;
  try {
    image.LoadFromBytes(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const LumatrimError&) {
    return 0;
  }
  if (image.Width() <= 0 || image.Height() <= 0) fuzz::Violated("a loaded JPEG without a size");
  (void)image.PreviewScale(160, 120);
  Bitmap full;
  try {
    fuzz::DecodeBounded(image);
    if (int64_t{image.Width()} * image.Height() <= (1 << 18)) full = image.Decode();
  } catch (const LumatrimError&) {
  }
  if (full.Empty()) return 0;
  // The lossless turns of a small stream: refused, or exactly the size their plan says.
  const std::string stream(reinterpret_cast<const char*>(data), size);
  for (PixelTransform transform : {PixelTransform::Rotate90, PixelTransform::Transverse}) {
    BlockLayout layout;
    JpegImage turned;
    try {
      layout = ReadBlockLayout(stream);
      turned.LoadFromBytes(TransformJpeg(stream, transform));
    } catch (const LumatrimError&) {
      continue;
    }
    const auto [width, height] = TransformedSize(layout.width, layout.height, transform);
    const EdgeTrim trim = OutputTrim(layout, transform);
    if (turned.Width() != width - trim.columns || turned.Height() != height - trim.rows) {
      fuzz::Violated("a turn trimmed other than planned");
    }
  }
  const int rw = (image.Width() + 4) / 5, rh = (image.Height() + 6) / 7;
  Bitmap resampled;
  try {
    resampled = image.DecodeResampled(rw, rh);
  } catch (const LumatrimError&) {
    return 0;  // the reduced decode may meet damage the full one passed over
  }
  const int eighths = resample::ShrinkOnLoadEighths(image.Width(), image.Height(), rw, rh);
  Bitmap reduced;
  try {
    reduced = image.Decode(8 / eighths);
  } catch (const LumatrimError&) {
    fuzz::Violated("the streamed reduction read a stream its own scale's decode refuses");
  }
  if (resample::Resample(reduced, rw, rh).Bytes != resampled.Bytes) {
    fuzz::Violated("the streamed reduction differs from filtering the decoded picture");
  }
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunJpegDecode(data, size);
}
#endif
