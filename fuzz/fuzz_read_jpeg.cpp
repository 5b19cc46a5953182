// ReadPhoto of a JPEG file, then every query a window makes of it.
#include "FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string path = fuzz::WriteScratch("photo.jpg", data, size);
  TimgData photo;
  const bool found = photo.ReadPhoto(path);
  if (found && photo.ErrorText.empty()) fuzz::Violated("a read without outcome text");
  fuzz::ExerciseMetadata(photo);
  return 0;
}
