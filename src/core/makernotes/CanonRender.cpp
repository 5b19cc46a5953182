#include "core/makernotes/CanonRender.h"

#include <charconv>
#include <cstdint>

#include "core/exif/TagEntry.h"
#include "core/exif/TagRender.h"
#include "core/makernotes/MakerText.h"

namespace lumatrim {

namespace {

// The Canon arrays that split into derived items, by their tag.
enum class Record : uint16_t { Settings = 1, ShotInfo = 4, Functions = 15 };

// One derived item of a Canon array: the value at Slot (counted from 0, as
// the camera's record is laid out) under Label, decoded through List when
// there is one. A custom function's Slot is its number (1..15), which its
// value carries in the high byte.
struct CanonItem {
  Record From;
  const char* Label;
  int Slot;
  const char* List;
};

// clang-format off
constexpr CanonItem kItems[] = {
    {Record::Settings,  "Macro mode",                  1,  "1:Macro,2:Normal"},
    {Record::Settings,  "Self Timer",                  2,  ""},
    {Record::Settings,  "Compression Rate",            3,  "0:SuperFine,1:Fine,2:Normal,3:Basic,5:SuperFine"},
    {Record::Settings,  "Flash Mode",                  4,  "0:Not fired,1:Auto,2:On,3:Red-eye,4:Slow sync,5:Auto+red-eye,6:On+red eye,16:External flash"},
    {Record::Settings,  "Drive Mode",                  5,  "0:Single,1:Continuous"},
    {Record::Settings,  "Focus Mode",                  7,  "0:One-Shot,1:AI Servo,2:AI Focus,3:MF,4:Single,5:Continuous,6:MF"},
    {Record::Settings,  "Image Size",                  10, "0:Large,1:Medium,2:Small,4:5MPixel,5:2 MPixel,6:1.5 MPixel"},
    {Record::Settings,  "Easy Shoot",                  11, "0:Full Auto,1:Manual,2:Landscape,3:Fast Shutter,4:Slow Shutter,5:Night,6:B&W,7:Sepia,8:Portrait,9:Sports,10:Macro/Close-Up,11:Pan Focus"},
    {Record::Settings,  "Contrast",                    13, "65535:Low,0:Normal,1:High"},
    {Record::Settings,  "Saturation",                  14, "65535:Low,0:Normal,1:High"},
    {Record::Settings,  "Sharpness",                   15, "65535:Low,0:Normal,1:High"},
    {Record::Settings,  "CCD ISO",                     16, "0:Not used,15:auto,16:50,17:100,18:200,19:400"},
    {Record::Settings,  "Metering Mode",               17, "0:Default,1:Spot,2:Average,3:Evaluative,4:Partial,5:Center-weighted average"},
    {Record::Settings,  "AF Point",                    19, "8197:Manual AF point selection,12288:None (MF),12289:Auto AF point selection,12290:Right,12291:Center,12292:Left,16385:Auto AF point selection,16390:Face Detect"},
    {Record::Settings,  "Exposure Mode",               20, "0:Easy,1:Program AE,2:Shutter speed priority AE,3:Aperture-priority AE,4:Manual,5:Depth-of-field AE,6:M-Dep,7:Bulb"},
    {Record::Settings,  "Long focal",                  23, ""},
    {Record::Settings,  "Short focal",                 24, ""},
    {Record::Settings,  "Focal Units",                 25, ""},
    {Record::Settings,  "Flash Details",               29, ""},
    {Record::Settings,  "Focus Mode",                  32, "0:Single,1:Continuous,8:Manual"},
    {Record::ShotInfo,  "White balance",               7,  "0:Auto,1:Sunny,2:Cloudy,3:Tungsten,4:Flourescent,5:Flash,6:Custom"},
    {Record::ShotInfo,  "Sequence Number",             9,  ""},
    {Record::ShotInfo,  "OpticalZoom Step",            10, ""},
    {Record::ShotInfo,  "AF point",                    14, ""},
    {Record::ShotInfo,  "Flash bias",                  15, "65472:-2 EV,65484:-1.67 EV,65488:-1.50 EV,65492:-1.33 EV,65504:-1 EV,65516:-0.67 EV,65520:-0.50 EV,65524:-0.33 EV,0:0 EV,12:0.33 EV,16:0.50 EV,20:0.67 EV,32:1 EV,44:1.33 EV,48:1.50 EV,52:1.67 EV,64:2 EV"},
    {Record::ShotInfo,  "Distance",                    19, ""},
    {Record::Functions, "Noise Reduction",             1,  "0: Off,1: On"},
    {Record::Functions, "Shutter AE Lock Button",      2,  "0:AF/AE lock,1:AE lock/AF,2:AF/AF lock,3:AE+release/AE+AF"},
    {Record::Functions, "Mirror Lockup",               3,  "0:Disable,1:Enable"},
    {Record::Functions, "Exposure Level",              4,  "0:1/2 stop,1:1/3 stop"},
    {Record::Functions, "AF Assist",                   5,  "0:On (auto),1:Off"},
    {Record::Functions, "AV Shutter Speed",            6,  "0:Automatic,1: 1/200 (fixed)"},
    {Record::Functions, "AEB Sequence",                7,  "0:0, -, + / Enabled1: 0, -, + / Disabled,2: -, 0, + / Enabled,3: -, 0, + / Disabled"},
    {Record::Functions, "Shutter Sync",                8,  "0:1st-curtain sync,1: 2nd-curtain sync"},
    {Record::Functions, "Lens AF Button",              9,  "0:AF stop,1:Operate AF,2:Lock AE and start timer"},
    {Record::Functions, "Fill Flash Reduction",        10, "0:Enable,1:Disable"},
    {Record::Functions, "Menu Return",                 11, "0:Top,1:Previous (volatile),2:Previous"},
    {Record::Functions, "Set Button",                  12, "0:Not assigned,1:Change quality,2:Change ISO speed,3:Select parameters"},
    {Record::Functions, "Sensor Cleaning",             13, "0:Disable,1:Enable"},
    {Record::Functions, "Superimposed Display",        14, "0: On,1: Off"},
    {Record::Functions, "Shutter Release w/o CF Card", 15, "0:Enable,1:Disable"},
};
// clang-format on

void AddItem(TagRenderContext& context, const char* label, const std::string& text) {
  // Kept as obtained: a piece after the first begins with the blank after its comma.
  if (context.Added && HasContent(text)) context.Added->push_back(DerivedEntry(label, text, 2));
}

void SplitArray(const std::string& value, TagRenderContext& context, Record record) {
  context.BlockRendered = true;
  for (const CanonItem& item : kItems) {
    if (item.From != record) continue;
    const std::string piece = ListItem(value, ",", item.Slot + 1);
    const std::string text = *item.List ? DecodeValue(item.List, piece) : piece;
    AddItem(context, item.Label, text);
  }
}

const CanonItem* CustomFunction(long long number) {
  for (const CanonItem& item : kItems)
    if (item.From == Record::Functions && item.Slot == number) return &item;
  return nullptr;
}

// A decimal integer, blanks allowed before it and nothing after it.
bool ParseInteger(const std::string& piece, long long& number) {
  const size_t first = piece.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const char* begin = piece.data() + first;
  const char* end = piece.data() + piece.size();
  if (*begin == '+') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, number);
  return error == std::errc() && stop == end;
}

}  // namespace

std::vector<std::string> CanonDerivedLabels() {
  std::vector<std::string> labels;
  for (const CanonItem& item : kItems) labels.emplace_back(item.Label);
  return labels;
}

std::string CanonCameraSettings(const std::string& value, TagRenderContext& context) {
  SplitArray(value, context, Record::Settings);
  return value;
}

std::string CanonShotInfo(const std::string& value, TagRenderContext& context) {
  SplitArray(value, context, Record::ShotInfo);
  return value;
}

std::string CanonCustomFunctions(const std::string& value, TagRenderContext& context) {
  context.BlockRendered = true;
  size_t from = 0;
  while (true) {
    const size_t comma = value.find(',', from);
    const std::string piece = value.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    long long number = 0;
    if (ParseInteger(piece, number)) {
      // Function number in the high byte, its setting in the low byte.
      const long long setting = number % 256;
      if (const CanonItem* function = CustomFunction(number / 256))
        AddItem(context, function->Label, DecodeValue(function->List, std::to_string(setting)));
    }
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  return value;
}

}  // namespace lumatrim
