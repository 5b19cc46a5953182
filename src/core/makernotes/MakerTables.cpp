#include "core/makernotes/MakerTables.h"

#include <algorithm>
#include <array>

#include "core/makernotes/CanonRender.h"
#include "core/makernotes/NikonRender.h"

namespace lumatrim {

// One array a make, one row a line, in tag order. A row names a tag the
// directory walk decodes; a Skip row drops its tag from the entries.
// clang-format off

// Nikon, newer cameras: directory at byte 18 (behind its own TIFF header) or 0.
constexpr TagDefinition kNikonRows[] = {
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
const MakerTable NikonTable{kNikonRows};

// Nikon, older cameras behind the "Nikon" header: directory at byte 8.
constexpr TagDefinition kNikonOldRows[] = {
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
const MakerTable NikonOldTable{kNikonOldRows};

// Olympus: directory at byte 8.
constexpr TagDefinition kOlympusRows[] = {
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
const MakerTable OlympusTable{kOlympusRows};

// Casio without a header: directory at byte 0.
constexpr TagDefinition kCasioRows[] = {
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
const MakerTable CasioTable{kCasioRows};

// Casio behind the "QVC" header: directory at byte 6.
constexpr TagDefinition kCasioQvcRows[] = {
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
const MakerTable CasioQvcTable{kCasioQvcRows};

// Fujifilm, always little-endian: directory at byte 12.
constexpr TagDefinition kFujiRows[] = {
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
const MakerTable FujiTable{kFujiRows};

// Canon: directory at byte 0; tags 1, 4 and 15 split their arrays into derived items.
constexpr TagDefinition kCanonRows[] = {
    SkipRow(0),
    MakerRow(1,  "ExposureInfo1",      "ExposureInfo1",      "", CanonCameraSettings),
    SkipRow(2),
    SkipRow(3),
    MakerRow(4,  "ExposureInfo2",      "ExposureInfo2",      "", CanonShotInfo),
    MakerRow(6,  "ImageType",          "ImageType"),
    MakerRow(7,  "FirmwareVersion",    "FirmwareVersion"),
    MakerRow(8,  "ImageNumber",        "ImageNumber"),
    MakerRow(9,  "OwnerName",          "OwnerName"),
    SkipRow(10),
    SkipRow(11),
    MakerRow(12, "CameraSerialNumber", "CameraSerialNumber"),
    SkipRow(13),
    SkipRow(14),
    MakerRow(15, "CustomFunctions",    "CustomFunctions",    "", CanonCustomFunctions),
    SkipRow(16),
};
const MakerTable CanonTable{kCanonRows};

// Seiko (Epson): directory at byte 8.
constexpr TagDefinition kSeikoRows[] = {
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
const MakerTable SeikoTable{kSeikoRows};

// Sanyo: directory at byte 8. Seiko's first five rows, then tag 3840 as a
// data dump where Seiko skips it.
constexpr auto kSanyoRows = [] {
  std::array<TagDefinition, 6> rows{};
  std::copy_n(std::begin(kSeikoRows), 5, rows.begin());
  rows[5] = MakerRow(3840, "DataDump", "DataDump");
  return rows;
}();
const MakerTable SanyoTable{kSanyoRows};

// Minolta: directory at byte 0.
constexpr TagDefinition kMinoltaRows[] = {
    MakerRow(0,    "ModelID",      "ModelID"),
    MakerRow(3584, "PIMdata",      "PIMdata"),
};
const MakerTable MinoltaTable{kMinoltaRows};
// clang-format on

}  // namespace lumatrim
