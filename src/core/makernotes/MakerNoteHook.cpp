#include "core/makernotes/MakerNoteHook.h"

#include "core/exif/ImageInfo.h"
#include "core/makernotes/MakerNoteDecoder.h"

namespace lumatrim {

bool DecodeMakerNoteOf(TImageInfo& info) {
  MakerNoteSource source;
  source.facts = {info.CameraMake, info.CameraModel, info.ExifVersion, info.MakerNoteRaw,
                  int64_t{info.MakerNotePos} - info.Base, info.IsTiffFile};
  source.exif = ByteView(info.Buffer, info.BigEndian ? ByteOrder::BigEndian : ByteOrder::LittleEndian);
  source.noteOffset = int64_t{info.MakerNotePos} - 1;
  source.decimalSeparator = info.DecimalSeparator;
  MakerNoteEntries maker = DecodeMakerNote(source);
  for (TTagEntry& entry : maker.entries) info.TagList.push_back(std::move(entry));
  if (!maker.failure.empty()) info.SetErrorText(maker.failure);
  return maker.supported;
}

}  // namespace lumatrim
