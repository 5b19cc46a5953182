// The derived 35 mm focal length, the enumeration cursors and lookups, and
// walking a maker directory with a table of its own.
#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/exif/ExifData.h"
#include "core/exif/TagTables.h"
#include "exif/ExifTestKit.h"

using namespace lumatrim;
using namespace lumatrim::test;

TEST(AddFocalLength35, workedExampleAndItsVariants) {
  struct Case {
    const char* name;
    uint32_t focalTenths = 74;
    uint16_t planeUnit = 2, resolutionUnit = 0;
    bool yRes = true, own35 = false;
    char separator = '.';
    const char* out = "14.77";  // nullptr: nothing added
  };
  const Case cases[] = {
      {"7.4 mm, inch, 3000/3000, 2048x1536"}, {.name = "decimal comma", .separator = ',', .out = "14,77"},
      {.name = "centimetres", .planeUnit = 3, .out = "37.52"},
      {.name = "no focal-plane unit, ResolutionUnit inch", .planeUnit = 0, .resolutionUnit = 2},
      {.name = "below 10 keeps the field width", .focalTenths = 37, .out = " 7.39"},
      {.name = "only the X resolution", .yRes = false, .out = nullptr},
      {.name = "unknown unit", .planeUnit = 1, .out = nullptr},
      {.name = "zero focal length", .focalTenths = 0, .out = nullptr},
      {.name = "recorded by the camera", .own35 = true, .out = "35.00 mm"}};
  for (Order order : {Order::Intel, Order::Motorola})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(OrderName(order)) + ": " + c.name);
      Ifd exif;
      exif.Rational(0x920A, {{c.focalTenths, 10}}).Long(0xA002, {2048}).Long(0xA003, {1536});
      if (c.planeUnit) exif.Short(0xA210, {c.planeUnit});
      exif.Rational(0xA20E, {{3000, 1}});
      if (c.yRes) exif.Rational(0xA20F, {{3000, 1}});
      if (c.own35) exif.Short(0xA405, {35});
      Ifd ifd0;
      if (c.resolutionUnit) ifd0.Short(0x0128, {c.resolutionUnit});
      auto data = ParseIfd0(order, ifd0.SubIfd(0x8769, exif), c.separator);
      const ExifData& info = *data->exif;
      EXPECT_EQ(CountTag(info, 0xA405), c.out ? 1 : 0);
      if (!c.out) continue;
      EXPECT_EQ(info.TagValueByName("FocalLengthin35mmFilm"), c.out);
      if (c.own35) continue;
      const TagEntry& added = info.TagList.back();  // the derived entry comes last
      EXPECT_EQ(added.Desc + "|" + added.FormatString, "Focal Length in 35mm Film|%s mm");
      EXPECT_EQ(added.Group, 0);
      EXPECT_TRUE(added.Raw.empty());
    }
}

TEST(Enumeration, groupsCursorsAndLookups) {
  ExifData info;
  auto add = [&](int tag, const char* value) {
    TagEntry e = LookupTagDef(tag, DirectoryKind::Main);
    e.Data = value;
    return info.AddTag(e);
  };
  add(0x010F, "Canon");
  info.AddCustomTag("Macro Mode", "Normal", 2);
  add(0x0110, "EOS");
  EXPECT_EQ(add(0x4242, "refused"), 2) << "Tag 0 is refused; the last entry's index comes back";
  TagEntry entry;
  info.ResetTagCursor();
  EXPECT_TRUE(info.NextTag(TagGroup::Standard, entry) && entry.Data == "Canon" && info.NextTag(TagGroup::Standard, entry) && entry.Data == "EOS");
  EXPECT_FALSE(info.NextTag(TagGroup::Standard, entry));
  EXPECT_EQ(entry.Name, "") << "a failed step clears the entry";
  info.ResetTagCursor();
  EXPECT_TRUE(info.NextTag(TagGroup::Maker, entry) && entry.Desc == "Macro Mode" && entry.Raw == "Normal" && entry.Tag == 0);
  EXPECT_FALSE(info.NextTag(TagGroup::Maker, entry));
  EXPECT_EQ(info.TagIndexByName("MODEL"), 2);
  EXPECT_EQ(info.TagValueByName("nothing") + info.GetTagByName("nothing").Name, "");
  EXPECT_EQ(info.GetTagNumber("Macro Mode"), 0.0) << "entries with Tag 0 have no number";
  ExifData empty;
  EXPECT_FALSE(empty.NextTag(TagGroup::Maker, entry) || empty.NextThumbTag(TagGroup::Standard, entry));
}

TEST(GetTagInt, roundsHalvesToEven) {
  ExifData info;
  for (auto [tag, n, d, rounded] : {std::tuple{0x011A, 5u, 2u, 2}, {0x011B, 7u, 2u, 4}, {0x920A, 11u, 4u, 3}}) {
    TagEntry e = LookupTagDef(tag, DirectoryKind::Main);
    e.Raw = U32(n, Order::Intel) + U32(d, Order::Intel);
    e.FormatCode = RATIONAL;
    info.AddTag(e);
    EXPECT_EQ(info.GetTagInt(e.Name), rounded) << e.Name;
  }
}

