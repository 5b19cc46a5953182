#include "core/makernotes/MakerNoteHook.h"

#include "core/exif/ImageInfo.h"
#include "core/makernotes/MsInfo.h"

namespace lumatrim {

bool DecodeMakerNoteOf(TImageInfo& info) {
  TmsInfo decoder(info.IsTiffFile, info);
  return decoder.DecodeMakerNote();
}

}  // namespace lumatrim
