#include "core/makernotes/NikonTable.h"

#include <iterator>

#include "core/makernotes/NikonRender.h"

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    MakerRow(1,    "FamilyID",            "Family ID"),
    MakerRow(2,    "ISOSpeed",            "ISO Speed"),
    MakerRow(3,    "ColorMode",           "Color Mode"),
    MakerRow(4,    "Quality",             "Quality"),
    MakerRow(5,    "WhiteBalance",        "White Balance"),
    MakerRow(6,    "ImageSharpening",     "Image Sharpening"),
    MakerRow(7,    "FocusMode",           "Focus Mode"),
    MakerRow(8,    "FlashSetting",        "Flash Setting"),
    MakerRow(9,    "AutoFlashMode",       "Auto Flash Mode"),
    SkipRow(10),
    MakerRow(11,   "WhiteBiasValue",      "White Bias Value"),
    MakerRow(15,   "DigitalZoom",         "Digital Zoom"),
    SkipRow(16),
    SkipRow(17),
    MakerRow(128,  "ImageAdjustment",     "Image Adjustment"),
    MakerRow(129,  "ImageAdjustment",     "Image Adjustment"),
    MakerRow(130,  "Adapter",             "Adapter"),
    MakerRow(132,  "LensInformation",     "Lens information",      "", NikonLensText),
    MakerRow(133,  "ManualFocusDistance", "Manual Focus Distance"),
    MakerRow(134,  "DigitalZoom",         "Digital Zoom"),
    MakerRow(136,  "FocusArea",           "Focus Area"),
    MakerRow(137,  "Mode",                "Mode"),
    MakerRow(141,  "ColorMode",           "Color Mode",            "", NikonColorMode),
    MakerRow(143,  "SceneMode",           "Scene Mode"),
    MakerRow(146,  "HueAdjustment",       "Hue Adjustment"),
    MakerRow(148,  "Saturation",          "Saturation"),
    MakerRow(149,  "NoiseReduction",      "Noise Reduction"),
    SkipRow(3840),
};
// clang-format on
static_assert(std::size(kRows) == 28);
}  // namespace

const MakerTable NikonTable{kRows};

}  // namespace lumatrim
