#include "core/makernotes/SeikoTable.h"

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
    MakerRow(521,  "CameraID",     "CameraID"),
    MakerRow(522,  "Comments",     "Comments"),
    MakerRow(523,  "Width",        "Width"),
    MakerRow(524,  "Height",       "Height"),
    MakerRow(525,  "SoftRelease",  "SoftRelease"),
    MakerRow(768,  "??",           "??"),
    SkipRow(3840, "skip"),
};
// clang-format on
static_assert(std::size(kRows) == 12);
}  // namespace

const MakerTable SeikoTable{kRows};

}  // namespace lumatrim
