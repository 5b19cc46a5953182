#include "core/makernotes/CasioQvcTable.h"

#include <iterator>

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    MakerRow(2,     "ThumbnailDimensions", "Thumbnail Dimensions"),
    MakerRow(3,     "ThumbnailSize",       "Thumbnail Size"),
    MakerRow(4,     "ThumbnailOffset",     "Thumbnail OffSet"),
    MakerRow(8,     "Quality",             "Quality",              "1:Fine,2:Super Fine"),
    MakerRow(9,     "ImageSize",           "ImageSize",            "0:640 x 480,4:1600 x 1200,5:2048 x 1536,20:2288 x 1712,21:2592 x 1944,22:2304 x 1728,36:3008 x 2008"),
    MakerRow(13,    "FocusMode",           "FocusMode",            "0:Normal,1:Macro"),
    MakerRow(20,    "IsoSensitivity",      "IsoSensitivity",       "3:50,4:64,6:100,9:200"),
    MakerRow(25,    "WhiteBalance",        "WhiteBalance",         "0:Auto,1:Daylight,2:Shade,3:Tungsten,4:Fluorescent,5:Manual"),
    MakerRow(29,    "FocalLength",         "Focal Length (.1 mm)"),
    MakerRow(31,    "Saturation",          "Saturation",           "0:-1,1:Normal,2:+1"),
    MakerRow(32,    "Contrast",            "Contrast",             "0:-1,1:Normal,2:+1"),
    MakerRow(33,    "Sharpness",           "Sharpness",            "0:-1,1:Normal,2:+1"),
    MakerRow(3584,  "PIM",                 "\tPrint Image Matching Info"),
    SkipRow(8192),
    SkipRow(8193),
    SkipRow(8194),
    SkipRow(8195),
    MakerRow(8209,  "WhiteBalanceBias",    "White Balance Bias"),
    MakerRow(8210,  "WhiteBalance",        "White Balance",        "0:Manual,1:Auto,4:Flash,12:Flash"),
    SkipRow(8211),
    SkipRow(8225),
    MakerRow(8226,  "ObjectDistance",      "Object Distance (mm)"),
    SkipRow(8227),
    SkipRow(8241),
    SkipRow(8242),
    SkipRow(8243),
    MakerRow(8244,  "FlashDistance",       "Flash Distance"),
    MakerRow(12288, "RecordMode",          "Record Mode",          "2:Normal"),
    MakerRow(12289, "SelfTimer",           "Self Timer",           "0:Off,1:On"),
    MakerRow(12290, "Quality",             "Quality",              "1:Economy,2:Normal,3:Fine"),
    MakerRow(12291, "FocusMode",           "Focus Mode",           "1:Fixed,3:Auto Focus,6:Multi-Area Auto Focus"),
    SkipRow(12293),
    MakerRow(12294, "TimeZone",            "Time Zone"),
    MakerRow(12295, "BestshotMode",        "Bestshot Mode",        "0:Off,1:On"),
    SkipRow(12305),
    SkipRow(12306),
    SkipRow(12307),
    MakerRow(12308, "CCDSensitivity",      "CCD Sensitivity"),
    MakerRow(12309, "ColorMode",           "Color Mode",           "0:Off,1:On"),
    MakerRow(12310, "Enhancement",         "Enhancement",          "0:Off,1:On"),
    MakerRow(12311, "Filter",              "Filter",               "0:Off,1:On"),
    SkipRow(12312),
    SkipRow(12313),
    SkipRow(12314),
    SkipRow(12315),
};
// clang-format on
static_assert(std::size(kRows) == 45);
}  // namespace

const MakerTable CasioQvcTable{kRows};

}  // namespace lumatrim
