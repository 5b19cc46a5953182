// The Nikon and Canon render functions on the value texts the walk builds.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/exif/ImageInfo.h"
#include "core/makernotes/CanonRender.h"
#include "core/makernotes/MakerText.h"
#include "core/makernotes/NikonRender.h"

namespace lumatrim {
namespace {

using Items = std::vector<std::pair<std::string, std::string>>;

// The derived items a render function added, as (label, text).
struct Rendered {
  TImageInfo info{nullptr};
  TagRenderContext context{&info, false};
  Items Run(RenderFunction f, const std::string& value) {
    info.DecimalSeparator = '.';
    f(value, context);
    Items items;
    for (const TTagEntry& e : info.TagList) {
      EXPECT_EQ(e.Group, 1);
      EXPECT_EQ(e.FormatCode, 2);
      EXPECT_EQ(e.Raw, e.Data);
      items.emplace_back(e.Desc, e.Data);
    }
    return items;
  }
};

TEST(ListItem, CutsAtEverySeparatorAndKeepsBlanks) {
  EXPECT_EQ(ListItem("0, 2, 0, 4", ",", 1), "0");
  EXPECT_EQ(ListItem("0, 2, 0, 4", ",", 2), " 2");
  EXPECT_EQ(ListItem("0, 2, 0, 4", ",", 4), " 4");
  EXPECT_EQ(ListItem("0, 2, 0, 4", ",", 5), "");
  EXPECT_EQ(ListItem("0, 2", ",", 0), "");
  EXPECT_EQ(ListItem("a,,b", ",", 2), "");
  EXPECT_EQ(ListItem("a,,b", ",", 3), "b");
  EXPECT_EQ(ListItem("a, b", ", ", 2), "b");
}

TEST(NikonColorMode, SpellsOutTheThreeModesAndKeepsOthers) {
  TagRenderContext context;
  EXPECT_EQ(NikonColorMode("\"MODE1\"", context), "Mode1 (sRGB)");
  EXPECT_EQ(NikonColorMode("\"MODE1a\"", context), "Mode1 (sRGB)");
  EXPECT_EQ(NikonColorMode("\"MODE2\"", context), "Mode 2 (Adobe RGB)");
  EXPECT_EQ(NikonColorMode("\"MODE3\"", context), "Mode 3 (sRGB): higher saturation");
  EXPECT_EQ(NikonColorMode("\"COLOR\"", context), "COLOR");
  EXPECT_EQ(NikonColorMode("\"BW\"", context), "BW\"");  // short: keeps the closing quote
  EXPECT_EQ(NikonColorMode("", context), "");
  EXPECT_FALSE(context.BlockRendered);
}

TEST(NikonLensText, FourRationalsBecomeFocalAndApertureRanges) {
  TImageInfo info(nullptr);
  TagRenderContext context{&info, false};
  info.DecimalSeparator = '.';
  EXPECT_EQ(NikonLensText("180/10, 700/10, 35/10, 45/10", context), "18.0-70.0(mm)  F3.5-F4.5");
  EXPECT_EQ(NikonLensText("50/1, 50/1, 14/10, 14/10", context), "50.0-50.0(mm)  F1.4-F1.4");
  // Not fractions, or too few of them: zeros, never a failure.
  EXPECT_EQ(NikonLensText("180/10, 0/0, x, 45/10", context), "18.0-0.0(mm)  F0.0-F4.5");
  EXPECT_EQ(NikonLensText("garbage", context), "0.0-0.0(mm)  F0.0-F0.0");
  EXPECT_EQ(NikonLensText("", context), "0.0-0.0(mm)  F0.0-F0.0");

  info.DecimalSeparator = ',';  // the user's locale
  EXPECT_EQ(NikonLensText("180/10, 700/10, 35/10, 45/10", context), "18,0-70,0(mm)  F3,5-F4,5");
}

TEST(CanonCameraSettings, SplitsTheArrayIntoNamedItems) {
  {
    // The self timer is the value after the macro mode (slot 2), not the
    // macro mode itself: " 0" here, as the camera recorded it.
    SCOPED_TRACE("0, 2, 0, 4: macro mode and self timer only");
    Rendered r;
    EXPECT_EQ(r.Run(CanonCameraSettings, "0, 2, 0, 4"), (Items{{"Macro mode", "Normal"}, {"Self Timer", " 0"}}));
    EXPECT_TRUE(r.context.BlockRendered);
  }
  {
    SCOPED_TRACE("a full record of 33 values");
    // slot:            0  1    2  3  4  5  6  7  8  9 10 11 12    13 14 15  16 17 18     19 20 ...
    std::string value = "66, 1, 100, 1, 2, 1, 0, 3, 0, 0, 2, 9, 0, 65535, 0, 1, 17, 4, 0, 12289, 2";
    value += ", 0, 0, 70, 24, 1, 0, 0, 0, 8, 0, 0, 1";  // 21 .. 32
    Rendered r;
    const Items items = r.Run(CanonCameraSettings, value);
    const Items expected = {
        {"Macro mode", "Macro"},       {"Self Timer", " 100"},          {"Compression Rate", "Fine"},
        {"Flash Mode", "On"},          {"Drive Mode", "Continuous"},  {"Focus Mode", "MF"},
        {"Image Size", "Small"},       {"Easy Shoot", "Sports"},      {"Contrast", "Low"},
        {"Saturation", "Normal"},      {"Sharpness", "High"},         {"CCD ISO", "100"},
        {"Metering Mode", "Partial"},  {"AF Point", "Auto AF point selection"},
        {"Exposure Mode", "Shutter speed priority AE"},
        {"Long focal", " 70"},         {"Short focal", " 24"},        {"Focal Units", " 1"},
        {"Flash Details", " 8"},       {"Focus Mode", "Continuous"},
    };
    EXPECT_EQ(items, expected);
  }
  {
    SCOPED_TRACE("codes missing from a list add nothing");
    Rendered r;
    EXPECT_EQ(r.Run(CanonCameraSettings, "0, 3, 0, 4"), (Items{{"Self Timer", " 0"}}));
  }
}

TEST(CanonShotInfo, SplitsTheArrayIntoNamedItems) {
  // slot:        0  1  2  3  4  5  6  7    8    9   10   11 12   13   14     15 16 17   18   19
  Rendered r;
  const Items items =
      r.Run(CanonShotInfo, "0, 0, 0, 0, 0, 0, 0, 3, 108, 109, 110, 111, 0, 113, 114, 65504, 0, 0, 118, 119");
  const Items expected = {{"White balance", "Tungsten"}, {"Sequence Number", " 109"}, {"OpticalZoom Step", " 110"},
                          {"AF point", " 114"},         {"Flash bias", "-1 EV"},      {"Distance", " 119"}};
  EXPECT_EQ(items, expected);
  EXPECT_TRUE(r.context.BlockRendered);
}

TEST(CanonCustomFunctions, HighByteNamesTheFunctionLowByteItsSetting) {
  {
    SCOPED_TRACE("32, 257, 768");
    Rendered r;
    EXPECT_EQ(r.Run(CanonCustomFunctions, "32, 257, 768"),
              (Items{{"Noise Reduction", " On"}, {"Mirror Lockup", "Disable"}}));
    EXPECT_TRUE(r.context.BlockRendered);
  }
  {
    SCOPED_TRACE("function 15, then values that name no function or are no number");
    Rendered r;
    EXPECT_EQ(r.Run(CanonCustomFunctions, "3841, 4096, -300, abc, 12x, , 65535"),
              (Items{{"Shutter Release w/o CF Card", "Disable"}}));
  }
  {
    SCOPED_TRACE("a setting its list does not hold");
    Rendered r;
    EXPECT_EQ(r.Run(CanonCustomFunctions, "265"), Items{});  // function 1, setting 9
  }
}

}  // namespace
}  // namespace lumatrim
