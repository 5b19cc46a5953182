// The maker-note walk of each supported make on hostile note bytes.
//
// Input: 1 byte make, 1 byte flags, 2 bytes position of the note in the EXIF
// block (big-endian, mod 8192), then the note itself. The block around the
// note is zeros, so offsets that escape the note land on harmless bytes or
// outside the block.
#include <array>

#include "FuzzCommon.h"
#include "Targets.h"
#include "MakerNoteSeed.h"

int lumatrim::fuzz::RunMakerNote(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  if (size < fuzz::kMakerNoteHeader) return 0;
  const fuzz::MakerNoteSetup setup = fuzz::MakerNoteSetup::FromBytes(data);
  const std::string note(reinterpret_cast<const char*>(data) + fuzz::kMakerNoteHeader,
                         size - fuzz::kMakerNoteHeader);

  std::string exifBlock;
  const MakerNoteSource source = setup.Apply(note, exifBlock);
  const MakerNoteEntries maker = DecodeMakerNote(source);
  for (const TagEntry& entry : maker.entries)
    if (entry.Group != 1) fuzz::Violated("a maker entry outside the maker group");
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunMakerNote(data, size);
}
#endif
