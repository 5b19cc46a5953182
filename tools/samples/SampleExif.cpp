#include "samples/SampleExif.h"

#include <cmath>
#include <cstdlib>

#include "support/TiffBuilder.h"

namespace samples {
namespace {

using lumatrim::test::Ifd;
using lumatrim::test::Layout;
using lumatrim::test::Order;
using lumatrim::test::U16;
using lumatrim::test::U32;

std::vector<std::pair<uint32_t, uint32_t>> Dms(double degrees) {
  const double a = std::fabs(degrees);
  const auto d = static_cast<uint32_t>(a);
  const auto m = static_cast<uint32_t>((a - d) * 60);
  const auto s100 = static_cast<uint32_t>(std::lround(((a - d) * 60 - m) * 60 * 100));
  return {{d, 1}, {m, 1}, {s100, 100}};
}

uint32_t TimePart(const std::string& dateTime, size_t at) {
  return dateTime.size() >= at + 2 ? static_cast<uint32_t>(std::atoi(dateTime.substr(at, 2).c_str())) : 0;
}

// Canon: a plain directory whose offsets count from the TIFF header.
Ifd CanonNote() {
  std::vector<uint16_t> settings(34, 0);
  settings[0] = 68;  // byte length of the array
  settings[1] = 2;   // macro mode: normal
  settings[3] = 1;   // compression: fine
  settings[4] = 0;   // flash not fired
  settings[7] = 0;   // one-shot
  settings[11] = 1;  // manual
  settings[16] = 17; // ISO 100
  settings[17] = 3;
  settings[23] = 55;  // long focal
  settings[24] = 18;  // short focal
  settings[25] = 1;   // focal units per mm
  std::vector<uint16_t> shot(30, 0);
  shot[0] = 60;
  shot[7] = 1;    // sunny
  shot[9] = 0;
  shot[11] = 4;
  shot[14] = 3;
  shot[19] = 512;  // subject distance
  Ifd note;
  note.Short(0x0001, settings)
      .Short(0x0004, shot)
      .Ascii(0x0006, "IMG:EOS 10D JPEG")
      .Ascii(0x0007, "Firmware 1.0.3")
      .Long(0x0008, {1170042})
      .Ascii(0x0009, "Jan Novak")
      .Long(0x000C, {560123456})
      .Short(0x000F, {8, 0x0101, 0x0300, 0x0501});  // byte length, then function << 8 | setting
  return note;
}

Ifd NikonNote() {
  Ifd note;
  note.Undefined(0x0001, "0210")
      .Short(0x0002, {0, 200})
      .Ascii(0x0003, "COLOR")
      .Ascii(0x0004, "FINE  ")
      .Ascii(0x0005, "AUTO        ")
      .Ascii(0x0006, "AUTO  ")
      .Ascii(0x0007, "AF-S  ")
      .Ascii(0x0008, "NORMAL      ")
      .Rational(0x0084, {{180, 10}, {700, 10}, {35, 10}, {45, 10}})
      .Ascii(0x008D, "MODE1a");
  return note;
}

Ifd OlympusNote() {
  Ifd note;
  note.Long(0x0200, {0, 0, 0})
      .Short(0x0201, {2})  // HQ
      .Short(0x0202, {0})
      .Rational(0x0204, {{100, 100}})
      .Ascii(0x0207, "SX751")
      .Undefined(0x0209, "OLYMPUS DIGITAL CAMERA");
  return note;
}

Ifd FujiNote() {
  Ifd note;
  note.Undefined(0x0000, "0130")
      .Ascii(0x1000, "NORMAL ")
      .Short(0x1001, {3})
      .Short(0x1002, {0})
      .Short(0x1003, {0})
      .Short(0x1004, {0})
      .Short(0x1010, {2})
      .Short(0x1020, {0})
      .Short(0x1021, {0})
      .Short(0x1031, {0})
      .Short(0x1300, {0});
  return note;
}

// The MakerNote value for a layout: its bytes depend on where it lands
// (offset from the TIFF header) for the layouts that count from the header.
void AddMakerNote(Ifd& exif, MakerLayout layout, Order order) {
  Ifd::Generator make;
  switch (layout) {
    case MakerLayout::None:
      return;
    case MakerLayout::Canon:
      make = [](uint32_t at, Order order) { return CanonNote().Serialize(order, at, Layout::Camera); };
      break;
    case MakerLayout::Olympus:
      make = [](uint32_t at, Order order) {
        return std::string("OLYMP\0\x01\0", 8) + OlympusNote().Serialize(order, at + 8, Layout::Camera);
      };
      break;
    case MakerLayout::NikonNew:
      // "Nikon", version 2.10, then a TIFF header of its own: offsets count from it.
      make = [](uint32_t, Order order) {
        return std::string("Nikon\0\x02\x10\0\0", 10) + std::string(order == Order::Motorola ? "MM" : "II") +
               U16(42, order) + U32(8, order) + NikonNote().Serialize(order, 8, Layout::Camera);
      };
      break;
    case MakerLayout::Fujifilm:
      // Always little-endian, offsets from the note's first byte.
      make = [](uint32_t, Order) {
        return std::string("FUJIFILM") + U32(12, Order::Intel) + FujiNote().Serialize(Order::Intel, 12, Layout::Camera);
      };
      break;
  }
  const size_t size = make(0, order).size();
  exif.Generated(0x927C, lumatrim::test::UNDEFINED, static_cast<uint32_t>(size), size, make);
}

}  // namespace

std::string BuildExifPayload(const Camera& camera, const Shot& shot, int width, int height,
                             const std::string& thumbnailJpeg) {
  const Order order = camera.bigEndian ? Order::Motorola : Order::Intel;
  Ifd exif;
  exif.Rational(0x829A, {{shot.exposureNum, shot.exposureDen}})
      .Rational(0x829D, {{shot.fNumberTimes10, 10}})
      .Short(0x8822, {2})
      .Short(0x8827, {shot.iso})
      .Undefined(0x9000, camera.maker == MakerLayout::NikonNew ? "0221" : "0220")
      .Ascii(0x9003, shot.dateTime)
      .Ascii(0x9004, shot.dateTime)
      .Undefined(0x9101, std::string("\x01\x02\x03\x00", 4))
      .SRational(0x9204, {{0, 3}})
      .Rational(0x9205, {{30, 10}})
      .Short(0x9207, {5})
      .Short(0x9209, {shot.flash})
      .Rational(0x920A, {{shot.focalTimes10, 10}});
  AddMakerNote(exif, camera.maker, order);
  exif.Undefined(0xA000, "0100")
      .Short(0xA001, {1})
      .Long(0xA002, {static_cast<uint32_t>(width)})
      .Long(0xA003, {static_cast<uint32_t>(height)});
  if (shot.focal35 == 0) {
    // A 22.5 x 15 mm sensor: the program derives the 35 mm focal length.
    exif.Rational(0xA20E, {{static_cast<uint32_t>(width) * 10, 225}})
        .Rational(0xA20F, {{static_cast<uint32_t>(height) * 10, 150}})
        .Short(0xA210, {3});
  }
  exif.Short(0xA402, {0}).Short(0xA403, {0});
  if (shot.focal35 != 0) exif.Short(0xA405, {shot.focal35});
  exif.Short(0xA406, {0});

  Ifd ifd0;
  ifd0.Ascii(0x010F, camera.make)
      .Ascii(0x0110, camera.model)
      .Short(0x0112, {1})
      .Rational(0x011A, {{72, 1}})
      .Rational(0x011B, {{72, 1}})
      .Short(0x0128, {2})
      .Ascii(0x0131, camera.software)
      .Ascii(0x0132, shot.dateTime)
      .Short(0x0213, {2})
      .SubIfd(0x8769, exif);
  if (shot.gps) {
    Ifd gps;
    gps.Raw(0x0000, lumatrim::test::BYTE, 4, std::string("\x02\x02\x00\x00", 4))
        .Ascii(0x0001, shot.latitude >= 0 ? "N" : "S")
        .Rational(0x0002, Dms(shot.latitude))
        .Ascii(0x0003, shot.longitude >= 0 ? "E" : "W")
        .Rational(0x0004, Dms(shot.longitude))
        .Raw(0x0005, lumatrim::test::BYTE, 1, std::string(1, '\0'))
        .Rational(0x0006, {{static_cast<uint32_t>(std::lround(shot.altitude * 10)), 10}})
        .Rational(0x0007, {{TimePart(shot.dateTime, 11), 1}, {TimePart(shot.dateTime, 14), 1}, {TimePart(shot.dateTime, 17), 1}})
        .Ascii(0x001D, shot.dateTime.substr(0, 10));
    ifd0.SubIfd(0x8825, gps);
  }
  if (!thumbnailJpeg.empty()) {
    Ifd ifd1;
    ifd1.Short(0x0103, {6}).Rational(0x011A, {{72, 1}}).Rational(0x011B, {{72, 1}}).Short(0x0128, {2}).Thumbnail(
        thumbnailJpeg);
    ifd0.Next(ifd1);
  }
  return std::string("Exif\0\0", 6) + lumatrim::test::TiffBuilder(order).WithLayout(Layout::Camera).Bytes(ifd0);
}

}  // namespace samples
