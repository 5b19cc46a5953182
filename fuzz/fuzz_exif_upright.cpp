// The edits that make an EXIF block describe an upright picture, on hostile
// blocks: the input is an APP1 payload ("Exif\0\0", then a TIFF block).
// Whatever the block, the result keeps a true length field, fits one
// segment, and says what was done: the new thumbnail is found where IFD1
// points, or there is no IFD1 any more. The parser must read the result.
#include <algorithm>

#include "FuzzCommon.h"
#include "Targets.h"
#include "core/exif/ExifUpright.h"

namespace {

constexpr size_t kMaxPayload = 65533;

const std::string& NewThumbnail() {
  static const std::string bytes = std::string("\xFF\xD8\xFF\xDB", 4) + std::string(100, 'q') + "\xFF\xD9";
  return bytes;
}

size_t LengthField(const std::string& app1) {
  return static_cast<size_t>(static_cast<uint8_t>(app1[0])) << 8 | static_cast<uint8_t>(app1[1]);
}

}  // namespace

int lumatrim::fuzz::RunExifUpright(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string payload(reinterpret_cast<const char*>(data), std::min(size, kMaxPayload));
  const size_t length = payload.size() + 2;
  std::string app1 = std::string{static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + payload;

  const int before = ExifOrientation(app1);
  if (before < 1 || before > 8) fuzz::Violated("an orientation outside 1..8");
  (void)ExifThumbnail(app1);
  const bool hadDirectory = HasThumbnailDirectory(app1);

  SetOrientationNormal(app1);
  if (ExifOrientation(app1) != 1) fuzz::Violated("Orientation is not 1 after setting it");
  if (app1.size() != length) fuzz::Violated("setting Orientation changed the block's size");

  const ThumbnailEdit edit = ReplaceThumbnail(app1, NewThumbnail(), 16, 8);
  if (app1.size() > 65535 || LengthField(app1) != app1.size()) fuzz::Violated("a wrong segment length");
  switch (edit) {
    case ThumbnailEdit::NoThumbnailDirectory:
      if (hadDirectory) fuzz::Violated("an IFD1 was overlooked");
      break;
    case ThumbnailEdit::Replaced:
      if (ExifThumbnail(app1) != NewThumbnail()) fuzz::Violated("the new thumbnail is not where IFD1 points");
      break;
    case ThumbnailEdit::Removed:
      if (HasThumbnailDirectory(app1)) fuzz::Violated("IFD1 is still linked after its removal");
      break;
  }

  // The edited block read back as a photo's EXIF segment.
  std::string jpeg = "\xFF\xD8\xFF\xE1" + app1 + "\xFF\xD9";
  MemorySource input(jpeg);
  PhotoMetadata photo = ReadJpegMetadata(input);
  fuzz::ExerciseMetadata(photo);
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunExifUpright(data, size);
}
#endif
