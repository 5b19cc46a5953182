#pragma once
#include <span>

#include "core/exif/TagEntry.h"

namespace lumatrim {

// One maker-table row: only tag, names and the rendering aids are ever set.
constexpr TagDefinition MakerRow(uint16_t tag, const char* name, const char* desc, const char* decodeList = "",
                           RenderFunction render = nullptr) {
  return TagDefinition{0, tag, name, desc, decodeList, "", render};
}

// A dropped tag: its Name and Desc both read "Skip" (any letter case).
constexpr TagDefinition SkipRow(uint16_t tag, const char* word = "Skip") { return MakerRow(tag, word, word); }

// A maker's tag table as the directory walk takes it.
using MakerTable = std::span<const TagDefinition>;

}  // namespace lumatrim
