// ReadPhoto of a TIFF file (named .nef for every third input length, which
// changes how Nikon maker notes are laid out), then every query made of it.
#include "FuzzCommon.h"
#include "Targets.h"

int lumatrim::fuzz::RunReadTiff(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const bool nef = size % 3 == 0;
  const std::string path = fuzz::WriteScratch(nef ? "photo.nef" : "photo.tif", data, size);
  TimgData photo;
  (void)photo.ReadPhoto(path);
  fuzz::ExerciseMetadata(photo);
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunReadTiff(data, size);
}
#endif
