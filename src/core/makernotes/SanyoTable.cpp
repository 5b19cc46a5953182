#include "core/makernotes/SanyoTable.h"

#include <iterator>

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    MakerRow(512,  "Special Mode", "Special Mode"),
    MakerRow(513,  "JpegQuality",  "JpegQuality"),
    MakerRow(514,  "Macro",        "Macro"),
    SkipRow(515),
    MakerRow(516,  "DigiZoom",     "DigiZoom"),
    MakerRow(3840, "DataDump",     "DataDump"),
};
// clang-format on
static_assert(std::size(kRows) == 6);
}  // namespace

const MakerTable SanyoTable{kRows};

}  // namespace lumatrim
