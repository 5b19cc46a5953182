#pragma once
#include <array>
#include <optional>
#include <string>

#include "core/exif/ExifData.h"
#include "core/exif/TagEntry.h"

namespace lumatrim {

// A tag as the windows show it in Czech.
struct CzechTagText {
  std::string Name;
  std::string Value;
  bool Technical = false;  // offsets, byte counts, embedded blocks: hidden unless asked for
};

// A standard, GPS, thumbnail or maker entry in Czech; bigEndian is the byte
// order of the block it was read from.
CzechTagText CzechTag(const TagEntry& entry, bool bigEndian);

// The summary rows of the main window, in the order of its captions
// (Fotoaparát, Model, Kvalita, Blesk, Ohnisko, Expozice, Clona, Citlivost,
// Program, Měření, Software, Vytvořeno); "---" where the photo has no value.
inline constexpr int kSummaryRows = 12;
inline constexpr int kSummaryDateRow = 11;

// Where "Vytvořeno" comes from.
enum class DateSource { Original, Digitized, Modified, None };

struct CzechSummary {
  std::array<std::string, kSummaryRows> Values;
  DateSource Created = DateSource::None;  // None: the caller shows the file's date instead
};

CzechSummary MakeCzechSummary(const ExifData& exif);

// The photo's GPS position: "50°5′7,2″ s. š., 14°25′30″ v. d., 234 m n. m." and
// a link that shows it on mapy.cz. None without a latitude and a longitude.
struct CzechPosition {
  std::string Text;
  double Latitude = 0.0;   // degrees, south negative
  double Longitude = 0.0;  // degrees, west negative
  std::string MapUrl;
};

std::optional<CzechPosition> MakeCzechPosition(const ExifData& exif);

}  // namespace lumatrim
