#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/optimal/OptiSettings.h"

namespace lumatrim::test {
namespace {

OptiSettings Fixed(int shortSide, int longSide) {
  OptiSettings s;
  s.TargetFolder = "/tmp";
  s.ShortSide = shortSide;
  s.LongSide = longSide;
  return s;
}

TEST(OptiSettings, TargetSizeFollowsOrientationNotAspect) {
  const OptiSettings s = Fixed(600, 800);
  EXPECT_EQ(TargetSize(3000, 2000, s), std::make_pair(800, 600)) << "landscape, stretched from 3:2 to 4:3";
  EXPECT_EQ(TargetSize(2000, 3000, s), std::make_pair(600, 800)) << "portrait";
  EXPECT_EQ(TargetSize(1000, 1000, s), std::make_pair(600, 600)) << "square gets the short side twice";
  OptiSettings keep = s;
  keep.KeepSize = true;
  EXPECT_EQ(TargetSize(2000, 3000, keep), std::make_pair(2000, 3000));
  EXPECT_EQ(TargetSize(1000, 1000, keep), std::make_pair(1000, 1000));
}

TEST(OptiSettings, FourToThreeRulesRoundToNearestTiesToEven) {
  EXPECT_EQ(LongSideFor(600), 800);
  EXPECT_EQ(LongSideFor(601), 801);  // 801.33
  EXPECT_EQ(LongSideFor(602), 803);  // 802.67
  EXPECT_EQ(ShortSideFor(800), 600);
  EXPECT_EQ(ShortSideFor(6), 4);   // 4.5 -> 4
  EXPECT_EQ(ShortSideFor(10), 8);  // 7.5 -> 8
  EXPECT_EQ(ShortSideFor(1), 1);   // 0.75
}

TEST(OptiSettings, RefusesSidesThatGiveNoPhoto) {
  EXPECT_NO_THROW(ValidateOptiSettings(Fixed(1, 1)));
  EXPECT_THROW(ValidateOptiSettings(Fixed(0, 800)), LumatrimError);
  EXPECT_THROW(ValidateOptiSettings(Fixed(600, -1)), LumatrimError);
  EXPECT_THROW(ValidateOptiSettings(Fixed(600, 70000)), LumatrimError);
  OptiSettings keep = Fixed(0, 0);
  keep.KeepSize = true;
  EXPECT_NO_THROW(ValidateOptiSettings(keep)) << "sides do not matter when keeping the size";
  OptiSettings s = Fixed(600, 800);
  s.Compression = 101;
  EXPECT_THROW(ValidateOptiSettings(s), LumatrimError);
  s.Compression = 100;
  EXPECT_NO_THROW(ValidateOptiSettings(s));
  s.TargetFolder.clear();
  EXPECT_THROW(ValidateOptiSettings(s), LumatrimError);

  EXPECT_EQ(ParseSide(" 640 ", "short side"), 640);
  for (const char* text : {"", "12.5", "12,5", "abc", "1e3", "99999999999", "-"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ParseSide(text, "short side"), LumatrimError);
  }
}

TEST(OptiSettings, OutputIsOptPlusFileNameInTheTargetFolder) {
  EXPECT_EQ(OutputPathFor("/foto", "/a/b.jpg"), "/foto/opt_b.jpg");
  EXPECT_EQ(OutputPathFor("/foto/", "/a/b.jpg"), "/foto/opt_b.jpg");
  EXPECT_EQ(OutputPathFor("/", "b.JPG"), "/opt_b.JPG");
}

}  // namespace
}  // namespace lumatrim::test
