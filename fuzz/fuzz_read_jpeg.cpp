// ReadPhoto of a JPEG file, then every query a window makes of it.
#include "FuzzCommon.h"
#include "Targets.h"

int lumatrim::fuzz::RunReadJpeg(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string path = fuzz::WriteScratch("photo.jpg", data, size);
  TimgData photo;
  const bool found = photo.ReadPhoto(path);
  if (found && photo.ErrorText.empty()) fuzz::Violated("a read without outcome text");
  fuzz::ExerciseMetadata(photo);
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunReadJpeg(data, size);
}
#endif
