#pragma once

namespace lumatrim {

class TImageInfo;

// Runs the maker-note decoder once on the MakerNote just met by the directory
// walk (its bytes are in info.MakerNoteRaw). True when the make is supported.
bool DecodeMakerNoteOf(TImageInfo& info);

}  // namespace lumatrim
