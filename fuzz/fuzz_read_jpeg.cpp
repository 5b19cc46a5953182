// ReadPhotoMetadata of a JPEG file, then every query a window makes of it.
#include "FuzzCommon.h"
#include "Targets.h"

int lumatrim::fuzz::RunReadJpeg(const uint8_t* data, size_t size) {
  (void)fuzz::ReadAsFile("photo.jpg", data, size);
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunReadJpeg(data, size);
}
#endif
