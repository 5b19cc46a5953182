// A TIFF read two ways, then every query made of it: ReadPhotoMetadata of the bytes
// as a file (named .nef or .tif, which counts only for bytes that announce no
// kind), and the TIFF scan over the bytes in memory with a kept block of a few
// bytes, so that the directories and values past it are read on demand.
#include <memory>
#include <string>

#include "FuzzCommon.h"
#include "Targets.h"
#include "core/bytes/RandomAccessBytes.h"

int lumatrim::fuzz::RunReadTiff(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const bool nef = size % 3 == 0;
  (void)fuzz::ReadAsFile(nef ? "photo.nef" : "photo.tif", data, size);

  ReadOptions options;
  options.tiffBlockSize = static_cast<int>(size % 61);
  PhotoMetadata inMemory =
      ReadTiffMetadata(std::make_shared<MemoryBytes>(std::string(reinterpret_cast<const char*>(data), size)), options);
  fuzz::ExerciseMetadata(inMemory);
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunReadTiff(data, size);
}
#endif
