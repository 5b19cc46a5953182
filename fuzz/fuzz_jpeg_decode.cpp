// The JPEG image object on hostile streams: header, full and reduced decode,
// and the streaming stretch, which must equal the stretch of a full decode.
#include "FuzzCommon.h"
#include "Targets.h"

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
  const int w = (image.Width() + 2) / 3 + 1, h = (image.Height() + 1) / 2 + 1;
  Bitmap stretched;
  try {
    stretched = image.DecodeStretched(w, h);
  } catch (const LumatrimError&) {
    return 0;  // damage met by the stretch's own read
  }
  Bitmap expected(w, h);
  StretchDraw(full, expected);
  if (stretched.Bytes != expected.Bytes) fuzz::Violated("the streaming stretch differs from the full decode");
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunJpegDecode(data, size);
}
#endif
