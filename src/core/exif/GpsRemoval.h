#pragma once
#include <string>

namespace lumatrim {

// The TIFF block (from its "II"/"MM" header on) without its GPS directory:
// the pointer entry 0x8825 leaves its directory, and the GPS directory and
// the values only it refers to are overwritten with zeros. Everything else
// keeps its place, so offsets into the block (maker notes) stay valid. A block
// without GPS, or one that is not a TIFF block, comes back unchanged.
std::string TiffWithoutGps(const std::string& tiff);

}  // namespace lumatrim
