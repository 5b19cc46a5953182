#pragma once
#include <cstdint>

#include "core/exif/TagTables.h"

namespace lumatrim {

// How a tag's value is written for a Czech reader.
enum class CzechFormat : uint8_t {
  Text,           // the value text as read
  Number,         // numbers with a decimal comma
  Decoded,        // codes through the row's Czech list
  ExposureTime,   // "1/75 s", "2 s"
  FNumber,        // "f/2,8"
  ApexAperture,   // an APEX aperture as "f/2,8"
  ApexShutter,    // an APEX shutter speed as "1/125 s"
  Iso,            // "ISO 200"
  FocalLength,    // "7,4 mm"
  FocalLength35,  // "41 mm"
  ExposureBias,   // "+0,3 EV"
  DateTime,       // "26. 2. 2015 16:20:11"
  Distance,       // "2,5 m"
  ZoomRatio,      // "1,5×"
  Flash,          // "Vyblesklo, automaticky"
  GpsCoordinate,  // "50°5′7,2″"
  GpsReference,   // "severní", "východní", ...
  GpsAltitude,    // "234 m"
  GpsTime,        // "14:05:07 UTC"
  GpsDate,        // "26. 2. 2015"
};

// The Czech side of a dictionary row: the row of the same index in
// MainTagTable or GpsTagTable holds the same tag. Technical rows (offsets,
// byte counts, embedded blocks) are hidden unless the user asks for them.
struct CzechTagRow {
  uint16_t Tag;
  const char* Name;
  CzechFormat Format;
  bool Technical;
  const char* DecodeList;  // "code:text,..." in Czech; codes of the English list and more
};

extern const CzechTagRow CzechMainTagTable[kMainTagRows];
extern const CzechTagRow CzechGpsTagTable[kGpsTagRows];

}  // namespace lumatrim
