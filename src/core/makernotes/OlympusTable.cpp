#include "core/makernotes/OlympusTable.h"

#include <iterator>

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    MakerRow(512,  "SpecialMode",      "SpecialMode"),
    MakerRow(513,  "JpegQual",         "JpegQual",          "1:SQ,2:HQ,3:SHQ,4:Raw"),
    MakerRow(514,  "Macro",            "Macro",             "0=Normal,1:Macro;"),
    SkipRow(515),
    MakerRow(516,  "DigiZoom",         "Digital Zoom Ratio"),
    SkipRow(517),
    SkipRow(518),
    MakerRow(519,  "Firmware",         "Firmware"),
    MakerRow(520,  "PictInfo",         "Picture Info"),
    MakerRow(521,  "CameraID",         "Camera ID"),
    SkipRow(3840),
    MakerRow(4100, "FlashMode",        "Flash Mode"),
    MakerRow(4102, "Bracket",          "Bracket"),
    MakerRow(4107, "FocusMode",        "Focus Mode"),
    MakerRow(4108, "FocusDistance",    "Focus Distance"),
    MakerRow(4109, "Zoom",             "Zoom"),
    MakerRow(4110, "MacroFocus",       "Macro Focus"),
    MakerRow(4111, "Sharpness",        "Sharpness"),
    MakerRow(4113, "ColorMatrix",      "Color Matrix"),
    MakerRow(4114, "BlackLevel",       "Black Level"),
    MakerRow(4117, "WhiteBalance",     "White Balance"),
    MakerRow(4119, "RedBias",          "Red Bias"),
    MakerRow(4120, "BlueBias",         "Blue Bias"),
    MakerRow(4122, "SerialNumber",     "SerialNumber"),
    MakerRow(4131, "FlashBias",        "Flash Bias"),
    MakerRow(4137, "Contrast",         "Contrast"),
    MakerRow(4138, "SharpnessFactor",  "Sharpness Factor"),
    MakerRow(4139, "ColorControl",     "Color Control"),
    MakerRow(4140, "ValidBits",        "Valid Bits"),
    MakerRow(4141, "Coring",           "Coring Filter"),
    MakerRow(4142, "FinalWidth",       "Final Width"),
    MakerRow(4143, "FinalHeight",      "Final Height"),
    MakerRow(4148, "CompressionRatio", "Compression Ratio"),
};
// clang-format on
static_assert(std::size(kRows) == 33);
}  // namespace

const MakerTable OlympusTable{kRows};

}  // namespace lumatrim
