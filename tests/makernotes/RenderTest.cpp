// The Nikon and Canon render functions on the value texts the walk builds.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/exif/TagEntry.h"
#include "core/exif/TagRender.h"
#include "core/makernotes/CanonRender.h"
#include "core/makernotes/MakerText.h"
#include "core/makernotes/NikonRender.h"

namespace lumatrim {
namespace {

using Items = std::vector<std::pair<std::string, std::string>>;

// The derived items a render function added, as (label, text); each must block the parent's own text.
Items Derived(RenderFunction f, const std::string& value) {
  std::vector<TagEntry> added;
  TagRenderContext context{DefaultDecimalSeparator(), &added};
  f(value, context);
  EXPECT_TRUE(context.BlockRendered);
  Items items;
  for (const TagEntry& e : added) {
    EXPECT_TRUE(e.Group == 1 && e.FormatCode == 2 && e.Raw == e.Data) << e.Desc;
    items.emplace_back(e.Desc, e.Data);
  }
  return items;
}

TEST(MakerText, listItemsColourModesAndLensTexts) {
  for (auto [text, separator, index, item] :
       {std::tuple{"0, 2, 0, 4", ",", 1, "0"}, {"0, 2, 0, 4", ",", 2, " 2"}, {"0, 2, 0, 4", ",", 4, " 4"},
        {"0, 2, 0, 4", ",", 5, ""}, {"0, 2", ",", 0, ""}, {"a,,b", ",", 2, ""}, {"a,,b", ",", 3, "b"},
        {"a, b", ", ", 2, "b"}})
    EXPECT_EQ(ListItem(text, separator, index), item) << text << " #" << index;
  TagRenderContext context{DefaultDecimalSeparator()};
  for (auto [mode, text] : {std::pair{"\"MODE1\"", "Mode1 (sRGB)"}, {"\"MODE1a\"", "Mode1 (sRGB)"},
                            {"\"MODE2\"", "Mode 2 (Adobe RGB)"}, {"\"MODE3\"", "Mode 3 (sRGB): higher saturation"},
                            {"\"COLOR\"", "COLOR"}, {"\"BW\"", "BW\""} /* short: keeps the closing quote */, {"", ""}})
    EXPECT_EQ(NikonColorMode(mode, context), text) << mode;
  context.DecimalSeparator = '.';
  for (auto [lens, text] : {std::pair{"180/10, 700/10, 35/10, 45/10", "18.0-70.0(mm)  F3.5-F4.5"},
                            {"50/1, 50/1, 14/10, 14/10", "50.0-50.0(mm)  F1.4-F1.4"},
                            {"180/10, 0/0, x, 45/10", "18.0-0.0(mm)  F0.0-F4.5"},  // not fractions: zeros
                            {"garbage", "0.0-0.0(mm)  F0.0-F0.0"}, {"", "0.0-0.0(mm)  F0.0-F0.0"}})
    EXPECT_EQ(NikonLensText(lens, context), text) << lens;
  context.DecimalSeparator = ',';  // the user's locale
  EXPECT_EQ(NikonLensText("180/10, 700/10, 35/10, 45/10", context), "18,0-70,0(mm)  F3,5-F4,5");
  EXPECT_FALSE(context.BlockRendered);
}

TEST(CanonRecords, splitIntoNamedItems) {
  // The self timer is the value after the macro mode (slot 2), as the camera recorded it.
  EXPECT_EQ(Derived(CanonCameraSettings, "0, 2, 0, 4"), (Items{{"Macro mode", "Normal"}, {"Self Timer", " 0"}}));
  EXPECT_EQ(Derived(CanonCameraSettings, "0, 3, 0, 4"), (Items{{"Self Timer", " 0"}})) << "a code the list lacks";
  // A full record of 33 values; slot 0 is the count.
  // slot:                 0  1    2  3  4  5  6  7  8  9 10 11 12    13 14 15  16 17 18     19 20
  const std::string full = "66, 1, 100, 1, 2, 1, 0, 3, 0, 0, 2, 9, 0, 65535, 0, 1, 17, 4, 0, 12289, 2"
                           ", 0, 0, 70, 24, 1, 0, 0, 0, 8, 0, 0, 1";  // 21 .. 32
  EXPECT_EQ(Derived(CanonCameraSettings, full),
            (Items{{"Macro mode", "Macro"}, {"Self Timer", " 100"}, {"Compression Rate", "Fine"}, {"Flash Mode", "On"},
                   {"Drive Mode", "Continuous"}, {"Focus Mode", "MF"}, {"Image Size", "Small"},
                   {"Easy Shoot", "Sports"}, {"Contrast", "Low"}, {"Saturation", "Normal"}, {"Sharpness", "High"},
                   {"CCD ISO", "100"}, {"Metering Mode", "Partial"}, {"AF Point", "Auto AF point selection"},
                   {"Exposure Mode", "Shutter speed priority AE"}, {"Long focal", " 70"}, {"Short focal", " 24"},
                   {"Focal Units", " 1"}, {"Flash Details", " 8"}, {"Focus Mode", "Continuous"}}));
  // slot:                            0  1  2  3  4  5  6  7    8    9   10   11 12   13   14     15 16 17   18   19
  EXPECT_EQ(Derived(CanonShotInfo, "0, 0, 0, 0, 0, 0, 0, 3, 108, 109, 110, 111, 0, 113, 114, 65504, 0, 0, 118, 119"),
            (Items{{"White balance", "Tungsten"}, {"Sequence Number", " 109"}, {"OpticalZoom Step", " 110"},
                   {"AF point", " 114"}, {"Flash bias", "-1 EV"}, {"Distance", " 119"}}));
  // The high byte names the custom function, the low byte its setting.
  EXPECT_EQ(Derived(CanonCustomFunctions, "32, 257, 768"),
            (Items{{"Noise Reduction", " On"}, {"Mirror Lockup", "Disable"}}));
  EXPECT_EQ(Derived(CanonCustomFunctions, "3841, 4096, -300, abc, 12x, , 65535"),
            (Items{{"Shutter Release w/o CF Card", "Disable"}})) << "values naming no function or no number";
  EXPECT_EQ(Derived(CanonCustomFunctions, "265"), Items{}) << "function 1, setting 9: not in its list";
}

}  // namespace
}  // namespace lumatrim
