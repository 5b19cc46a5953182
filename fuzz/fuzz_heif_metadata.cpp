// The handling of libheif's metadata blocks, on hostile blocks: the input is
// a HEIF Exif item (4 bytes offset, then a TIFF block somewhere). Whatever it
// holds, the photo made of it reads, takes the batch's edits, and writes
// segments with true length fields; its bytes cut into ICC segments join
// back into themselves.
#include "FuzzCommon.h"
#include "Targets.h"
#include "core/heif/HeifKind.h"
#include "core/heif/HeifMetadata.h"
#include "core/photo/PhotoEdits.h"

int lumatrim::fuzz::RunHeifMetadata(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string item(reinterpret_cast<const char*>(data), size);
  (void)IsHeifStart(item);

  HeifBlocks blocks;
  blocks.exif = item;
  PhotoMetadata photo = HeifPhotoMetadata(blocks);
  fuzz::ExerciseMetadata(photo);
  if (photo.ExifPresent() && ExifWritable(photo)) {
    (void)PhotoOrientation(photo);
    MakeExifUpright(photo, "");
    SetPictureSize(photo, 20, 10);
    (void)DropGps(photo);
    std::string stream;
    try {
      EmitMetadataSegments(photo, stream);
    } catch (const LumatrimError&) {
      fuzz::Violated("the segment made of an Exif item is not writable");
    }
  }

  std::string joined;
  for (const KeptSegment& segment : IccProfileSegments(item)) {
    if (segment.content.size() != static_cast<size_t>(segment.lengthField) || segment.content.size() > 65535) {
      fuzz::Violated("an ICC segment whose length field does not match it");
    }
    joined += segment.content.substr(2 + 12 + 2);
  }
  if (!joined.empty() && joined != item) fuzz::Violated("ICC segments that do not join into the profile");
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunHeifMetadata(data, size);
}
#endif
