#include "core/makernotes/MakerNoteHook.h"

namespace lumatrim {

bool DecodeMakerNoteOf(TImageInfo&) { return false; }

}  // namespace lumatrim
