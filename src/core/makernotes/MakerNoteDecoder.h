#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/bytes/ByteView.h"
#include "core/exif/ReadOutcome.h"
#include "core/exif/TagEntry.h"
#include "core/makernotes/MakerLayout.h"

namespace lumatrim {

// A maker note as the EXIF directory walk met it.
struct MakerNoteSource {
  MakerNoteFacts facts;
  ByteView exif;               // the block the note was read from, in its byte order
  int64_t noteOffset = 0;      // of the note in that block
  char decimalSeparator = '\0';  // '\0': the global locale's
};

// The entries of one maker note: the table's entries in directory order, each
// preceded by the items its render function derived (Canon records).
struct MakerNoteEntries {
  bool supported = false;      // the make has a layout
  std::vector<TagEntry> entries;
  ReadOutcome failure;         // set when an entry stopped the walk
};

// Picks the make's layout and reads its directory. Never throws.
MakerNoteEntries DecodeMakerNote(const MakerNoteSource& source);

// Reads a maker directory by a given layout (the walk behind DecodeMakerNote).
// A count that runs past the note is read only as far as whole entries go; a
// value past the end of the note is looked for at the same place of the EXIF
// block, where the note came from.
MakerNoteEntries WalkMakerDirectory(const MakerNoteSource& source, const MakerLayout& layout);

}  // namespace lumatrim
