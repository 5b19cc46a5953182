#include "core/makernotes/CasioTable.h"

#include <iterator>

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    MakerRow(1,    "RecordingMode",  "RecordingMode",  "1:Single Shutter,2:Panorama,3:Night Scene,4:Portrait,5:Landscape"),
    MakerRow(2,    "Quality",        "Quality",        "1:Economy,2:Normal,3:Fine"),
    MakerRow(3,    "FocusingMode",   "FocusingMode",   "2:Macro,3:Auto Focus,4:Manual Focus,5:Infinity"),
    MakerRow(4,    "FlashMode",      "FlashMode",      "1:Auto,2:On,3:Off,4:Red Eye Reduction"),
    MakerRow(5,    "FlashIntensity", "FlashIntensity", "11:Weak,13:Normal,15:Strong"),
    MakerRow(6,    "ObjectDistance", "ObjectDistance"),
    MakerRow(7,    "WhiteBalance",   "WhiteBalance",   "1:Auto,2:Tungsten,3:Daylight,4:Fluorescent,5:Shade,129:Manual"),
    SkipRow(8),
    SkipRow(9),
    MakerRow(10,   "DigitalZoom",    "DigitalZoom",    "65536:Off,65537:2X Digital Zoom"),
    MakerRow(11,   "Sharpness",      "Sharpness",      "0:Normal,1:Soft,2:Hard"),
    MakerRow(12,   "Contrast",       "Contrast",       "0:Normal,1:Low,2:High"),
    MakerRow(13,   "Saturation",     "Saturation",     "0:Normal,1:Low,2:High"),
    SkipRow(14),
    SkipRow(15),
    SkipRow(16),
    SkipRow(17),
    SkipRow(18),
    SkipRow(19),
    MakerRow(20,   "CCDSensitivity", "CCDSensitivity", "64:Normal,125:+1.0,250:+2.0,244:+3.0,80:Normal,100:High"),
    SkipRow(21),
    SkipRow(22),
    SkipRow(23),
    SkipRow(24),
    SkipRow(25),
    SkipRow(26),
};
// clang-format on
static_assert(std::size(kRows) == 26);
}  // namespace

const MakerTable CasioTable{kRows};

}  // namespace lumatrim
