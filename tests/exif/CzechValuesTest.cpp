// Values as the windows show them in Czech, read from EXIF blocks built here
// in both byte orders: the formats photographers write, the summary's date
// choice and the GPS position with its map link.
#include <gtest/gtest.h>

#include "ExifTestKit.h"
#include "core/exif/CzechTags.h"
#include "core/exif/CzechValues.h"

using namespace lumatrim;
using lumatrim::test::Ifd;
using lumatrim::test::Order;

namespace {

std::string CzechValue(const ExifData& exif, const char* name) {
  const int i = exif.TagIndexByName(name);
  return i < 0 ? "(none)" : CzechTag(exif.TagList[i], exif.BigEndian()).Value;
}

}  // namespace

TEST(CzechValues, photographersFormatsSummaryAndPosition) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(test::OrderName(order));
    Ifd gps, exif, ifd0;
    gps.Ascii(0x01, "N").Rational(0x02, {{50, 1}, {5, 1}, {72, 10}}).Ascii(0x03, "E")
        .Rational(0x04, {{14, 1}, {2550, 100}, {0, 1}}).Bytes(0x05, {0}).Rational(0x06, {{234, 1}});
    exif.Rational(0x829A, {{10, 750}}).Rational(0x829D, {{28, 10}}).Short(0x8827, {200})
        .SRational(0x9204, {{1, 3}}).Short(0x9209, {0x19}).Rational(0x920A, {{74, 10}}).Short(0xA405, {41})
        .Short(0x9207, {5}).Short(0x8822, {3}).Short(0xA403, {0})
        .Ascii(0x9003, "2015:02:09 10:00:05").Ascii(0x9011, "+01:00");
    ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "PowerShot SX60 HS").Ascii(0x0132, "2015:02:26 16:20:11")
        .Short(0x0112, {6}).SubIfd(0x8769, exif).SubIfd(0x8825, gps);
    const auto photo = test::ParseIfd0(order, ifd0);
    ASSERT_TRUE(photo->exif);
    const ExifData& data = *photo->exif;

    const std::pair<const char*, const char*> cases[] = {
        {"ExposureTime", "1/75 s"},      {"FNumber", "f/2,8"},
        {"ISOSpeedRatings", "ISO 200"},  {"ExposureBiasValue", "+0,3 EV"},
        {"Flash", "Vyblesklo, automaticky"}, {"FocalLength", "7,4 mm"},
        {"MeteringMode", "Maticové"},    {"ExposureProgram", "Priorita clony"},
        {"WhiteBalance", "Automatické"}, {"Orientation", "Otočit o 90° doprava"},
        {"DateTime", "26. 2. 2015 16:20:11"}, {"GPSLatitude", "50°5′7,2″"},
        {"GPSLongitude", "14°25′30″"},  {"GPSLatitudeRef", "severní"},
        {"GPSAltitude", "234 m"},        {"Make", "Canon"},
    };
    for (const auto& [name, want] : cases) EXPECT_EQ(CzechValue(data, name), want) << name;
    EXPECT_EQ(CzechTag(data.TagList[data.TagIndexByName("DateTimeOriginal")], data.BigEndian()).Name,
              "Datum pořízení");

    const CzechSummary summary = MakeCzechSummary(data);
    EXPECT_EQ(summary.Values[4], "7,4 mm (ekv. 35 mm: 41 mm)");
    EXPECT_EQ(summary.Values[7], "ISO 200");
    EXPECT_EQ(summary.Values[2], "---") << "no JpegQual";
    EXPECT_EQ(summary.Values[kSummaryDateRow], "9. 2. 2015 10:00:05 (UTC+01:00)") << "taken, not last edited";
    EXPECT_EQ(summary.Created, DateSource::Original);

    const auto position = MakeCzechPosition(data);
    ASSERT_TRUE(position);
    EXPECT_EQ(position->Text, "50°5′7,2″ s. š., 14°25′30″ v. d., 234 m n. m.");
    EXPECT_NE(position->MapUrl.find("mapy.cz"), std::string::npos);
    EXPECT_NE(position->MapUrl.find("x=14.425000&y=50.085333"), std::string::npos) << position->MapUrl;
  }

  // Without DateTimeOriginal the digitised date, then the last edit, then none.
  Ifd onlyEdited;
  onlyEdited.Ascii(0x0132, "2015:02:26 16:20:11");
  const auto edited = test::ParseIfd0(Order::Intel, onlyEdited);
  EXPECT_EQ(MakeCzechSummary(*edited->exif).Created, DateSource::Modified);
  Ifd noClock;
  noClock.Ascii(0x0132, "0000:00:00 00:00:00").Ascii(0x010F, "X");
  const auto zero = test::ParseIfd0(Order::Intel, noClock);
  EXPECT_EQ(MakeCzechSummary(*zero->exif).Created, DateSource::None);
  EXPECT_EQ(MakeCzechSummary(*zero->exif).Values[kSummaryDateRow], "---");

  // The formatters at their edges.
  EXPECT_EQ(CzechExposureTime(541.0 / 1000000), "1/1848 s");
  EXPECT_EQ(CzechExposureTime(2.0), "2 s");
  EXPECT_EQ(CzechExposureTime(0.5), "0,5 s");
  EXPECT_EQ(CzechExposureBias(-2.0 / 3), "\u22120,7 EV");
  EXPECT_EQ(CzechExposureBias(0.0), "0 EV");
  EXPECT_EQ(CzechFlash(0x10), "Nevyblesklo, vypnutý");
  EXPECT_EQ(CzechFlash(0x20), "Bez blesku");
  EXPECT_EQ(CzechDateTime("2015:02:26"), "26. 2. 2015");
  EXPECT_EQ(CzechDateTime("včera"), "včera") << "not a date: as it is";
  EXPECT_EQ(CzechDegrees(54, 59.38333, 0), "54°59′23″");
}
