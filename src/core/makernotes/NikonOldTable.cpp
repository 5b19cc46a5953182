#include "core/makernotes/NikonOldTable.h"

#include <iterator>

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    MakerRow(2,    "FamilyID",        "FamilyID"),
    MakerRow(3,    "Quality",         "Quality",         "1:Vga Basic,2:Vga Normal,3:Vga Fine,4:SXGA Basic,5:SXGA Normal,6:SXGA Fine10:2 Mpixel Basic,11:2 Mpixel Normal,12:2 Mpixel Fine"),
    MakerRow(4,    "ColorMode",       "ColorMode",       "1:Color,2:Monochrome"),
    MakerRow(5,    "ImageAdjustment", "ImageAdjustment", "0:Normal,1:Bright+,2:Bright-,3:Contrast+,4:Contrast-"),
    MakerRow(6,    "ISOSpeed",        "ISOSpeed",        "0:ISO80,2:ISO160,4:ISO320,5:ISO100"),
    MakerRow(7,    "WhiteBalance",    "WhiteBalance",    "0:Auto,1:Preset,2:Daylight,3:Incandescense,4:Fluorescence,5:Cloudy,6:SpeedLight"),
    MakerRow(8,    "Focus",           "Focus"),
    SkipRow(9),
    MakerRow(10,   "DigitalZoom",     "DigitalZoom"),
    MakerRow(11,   "Converter",       "Converter",       "0:Not used,1:Used"),
    SkipRow(3840),
};
// clang-format on
static_assert(std::size(kRows) == 11);
}  // namespace

const MakerTable NikonOldTable{kRows};

}  // namespace lumatrim
