#pragma once
#include <string>
#include <vector>

#include "core/exif/TagEntry.h"
#include "core/photo/PhotoMetadata.h"

namespace cli {

// A value on one line: tabs and line breaks inside it become blanks, so each
// tag or row stays one line of the output.
std::string OneLine(const std::string& bytes);

// One file of `info --lang cs`: what the windows show, in Czech: the main
// window's summary, the GPS position with its map link, the EXIF tab's
// general and maker rows, the thumbnail's, the technical rows the windows
// hide, and the IPTC items under their Czech labels.
void PrintFileCzech(const std::string& path, const lumatrim::PhotoMetadata& photo,
                    const std::vector<lumatrim::TagEntry>& thumbnail);

}  // namespace cli
