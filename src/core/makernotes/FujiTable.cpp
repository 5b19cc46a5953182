#include "core/makernotes/FujiTable.h"

#include <iterator>

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    MakerRow(0,    "Version",          "Version"),
    MakerRow(4096, "Quality",          "Quality"),
    MakerRow(4097, "Sharpness",        "Sharpness",        "1:Soft,2:Soft,3:Normal,4:Hard,5:Hard"),
    MakerRow(4098, "WhiteBalance",     "WhiteBalance",     "0:Auto,256:Daylight,512:Cloudy,768:DaylightColor-fluorescence,769:DaywhiteColor-fluorescence,770:White-fluorescence,1024:Incandenscense,3840:Custom white balance."),
    MakerRow(4099, "Color",            "Color",            "0:Normal,256:High,512:Low"),
    MakerRow(4100, "Tone",             "Tone",             "0:Normal,256:High,512:Low"),
    MakerRow(4112, "FlashMode",        "FlashMode",        "0:Auto,1:On,2:Off,3:Red-eye reduction"),
    MakerRow(4113, "FlashStrength",    "FlashStrength"),
    MakerRow(4128, "Macro",            "Macro",            "0:Off,1:On"),
    MakerRow(4129, "Focusmode",        "Focusmode",        "0:Auto Focus,1:Manual Focus"),
    MakerRow(4144, "SlowSync",         "SlowSync",         "0:Off,1:On"),
    MakerRow(4145, "PictureMode",      "PictureMode",      "0:Auto,1:Portrait scene,2:Landscape scene,4:Sports scene,5:Night scene,6:Program AE,256:Aperture prior AE,512:Shutter prior AE,768:Manual exposure"),
    SkipRow(4146),
    MakerRow(4352, "ContTake/Bracket", "ContTake/Bracket", "0:Off,1:On"),
    SkipRow(4608),
    MakerRow(4864, "BlurWarning",      "BlurWarning",      "0:No blur warning,1:Blur warning"),
    MakerRow(4865, "FocusWarning",     "FocusWarning",     "0:Auto Focus good,1:Out of focus"),
    MakerRow(4866, "AEWarning",        "AEWarning",        "0:AE good,1:Over exposure"),
};
// clang-format on
static_assert(std::size(kRows) == 18);
}  // namespace

const MakerTable FujiTable{kRows};

}  // namespace lumatrim
