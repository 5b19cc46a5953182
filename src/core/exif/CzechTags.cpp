#include "core/exif/CzechTags.h"

#include <cmath>
#include <cstdlib>

#include "core/exif/CzechTagTable.h"
#include "core/exif/CzechValues.h"
#include "core/exif/TagRender.h"
#include "core/exif/TagTables.h"
#include "core/exif/TiffType.h"
#include "core/makernotes/CzechMakerTables.h"

namespace lumatrim {
namespace {

constexpr const char* kMissing = "---";
constexpr uint32_t kInfiniteDistance = 0xFFFFFFFF;

bool IsNumericType(uint16_t fmt) {
  return IsType(fmt, TiffType::Byte) || IsType(fmt, TiffType::Short) || IsType(fmt, TiffType::Long) ||
         IsType(fmt, TiffType::SByte) || IsType(fmt, TiffType::SShort) || IsType(fmt, TiffType::SLong) ||
         IsType(fmt, TiffType::Rational) || IsType(fmt, TiffType::SRational);
}

// One entry's value numbers, read from its raw bytes.
class Numbers {
 public:
  Numbers(const TagEntry& entry, bool bigEndian) : entry_(entry), bigEndian_(bigEndian) {
    const int size = TiffTypeSize(entry.FormatCode);
    count_ = IsNumericType(entry.FormatCode) && size > 0 ? entry.Raw.size() / size : 0;
  }
  size_t Count() const { return count_; }
  double At(size_t k) const {
    const int size = TiffTypeSize(entry_.FormatCode);
    return RawToNumber(entry_.Raw.substr(k * size, size), entry_.FormatCode, bigEndian_);
  }
  // The first number, or from the value text when there are no raw bytes (a derived entry).
  std::optional<double> First() const {
    if (count_ > 0) return At(0);
    if (!entry_.Raw.empty()) return std::nullopt;
    std::string text = entry_.Data;
    for (char& c : text)
      if (c == ',') c = '.';
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return std::nullopt;
    return value;
  }

 private:
  const TagEntry& entry_;
  bool bigEndian_;
  size_t count_ = 0;
};

// The value text without the quotes an UNDEFINED value is shown in.
std::string PlainText(const TagEntry& entry) {
  const std::string& text = entry.Data;
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

std::string Joined(const Numbers& numbers, int decimals, const char* unit = "") {
  std::string out;
  for (size_t k = 0; k < numbers.Count() && k < 128; ++k) {
    if (!out.empty()) out += ", ";
    out += CzechDecimal(numbers.At(k), decimals) + unit;
  }
  return out;
}

std::string Decoded(const TagEntry& entry, const Numbers& numbers, const char* list) {
  std::string out;
  auto add = [&](int64_t code) {
    if (!out.empty()) out += ", ";
    const std::string text = DecodeValue(list, std::to_string(code));
    out += text.empty() ? std::to_string(code) : text;
  };
  if (numbers.Count() > 0) {
    for (size_t k = 0; k < numbers.Count() && k < 128; ++k) add(static_cast<int64_t>(numbers.At(k)));
  } else if (IsType(entry.FormatCode, TiffType::Undefined) && !entry.Raw.empty() && entry.Raw.size() <= 4) {
    for (char byte : entry.Raw) add(static_cast<unsigned char>(byte));  // FileSource, SceneType
  } else {
    return PlainText(entry);
  }
  return out;
}

std::string GpsReference(const std::string& text) {
  if (text.empty()) return text;
  switch (text[0]) {
    case 'N': return "severní";
    case 'S': return "jižní";
    case 'E': return "východní";
    case 'W': return "západní";
  }
  return text;
}

std::string Value(const TagEntry& entry, const CzechTagRow& row, bool bigEndian) {
  const Numbers numbers(entry, bigEndian);
  const std::optional<double> first = numbers.First();
  const bool numeric = numbers.Count() > 0;
  switch (row.Format) {
    case CzechFormat::Text: break;
    case CzechFormat::Number:
      if (numeric) return Joined(numbers, 2);
      break;
    case CzechFormat::Decoded: return Decoded(entry, numbers, row.DecodeList);
    case CzechFormat::ExposureTime:
      if (numeric) return CzechExposureTime(*first);
      break;
    case CzechFormat::FNumber:
      if (numeric) return CzechFNumber(*first);
      break;
    case CzechFormat::ApexAperture:
      if (numeric) return CzechFNumber(std::pow(2.0, *first / 2.0));
      break;
    case CzechFormat::ApexShutter:
      if (numeric) return CzechExposureTime(std::pow(2.0, -*first));
      break;
    case CzechFormat::Iso:
      if (numeric) return "ISO " + CzechDecimal(*first, 0);
      break;
    case CzechFormat::FocalLength:
      if (numeric) return CzechDecimal(*first, 1) + " mm";
      break;
    case CzechFormat::FocalLength35:
      if (first) return CzechDecimal(*first, 0) + " mm";
      break;
    case CzechFormat::ExposureBias:
      if (numeric) return CzechExposureBias(*first);
      break;
    case CzechFormat::DateTime: return CzechDateTime(entry.Data);
    case CzechFormat::Distance:
      if (numeric && RawToInt(entry.Raw.substr(0, 4), bigEndian) == static_cast<int32_t>(kInfiniteDistance))
        return "nekonečno";
      if (numeric) return CzechDecimal(*first, 2) + " m";
      break;
    case CzechFormat::ZoomRatio:
      if (numeric) return *first == 0.0 ? std::string("nepoužit") : CzechDecimal(*first, 2) + "\u00D7";
      break;
    case CzechFormat::Flash:
      if (numeric) return CzechFlash(static_cast<int64_t>(*first));
      break;
    case CzechFormat::GpsCoordinate:
      if (numbers.Count() >= 3) return CzechDegrees(numbers.At(0), numbers.At(1), numbers.At(2));
      break;
    case CzechFormat::GpsReference: return GpsReference(entry.Data);
    case CzechFormat::GpsAltitude:
      if (numeric) return CzechDecimal(*first, 1) + " m";
      break;
    case CzechFormat::GpsTime:
      if (numbers.Count() >= 3) {
        char text[32];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d UTC", static_cast<int>(numbers.At(0)) % 100,
                      static_cast<int>(numbers.At(1)) % 100, static_cast<int>(std::round(numbers.At(2))) % 100);
        return text;
      }
      break;
    case CzechFormat::GpsDate: return CzechDateTime(entry.Data);
  }
  return PlainText(entry);
}

const CzechTagRow* RowOf(const TagEntry& entry) {
  for (int i = 0; i < kMainTagRows; ++i)
    if (MainTagTable[i].Tag == entry.Tag && entry.Name == MainTagTable[i].Name) return &CzechMainTagTable[i];
  for (int i = 0; i < kGpsTagRows; ++i)
    if (GpsTagTable[i].Tag == entry.Tag && entry.Name == GpsTagTable[i].Name) return &CzechGpsTagTable[i];
  return nullptr;
}

const TagEntry* Find(const ExifData& exif, const char* name) {
  const int i = exif.TagIndexByName(name);
  return i >= 0 ? &exif.TagList[i] : nullptr;
}

std::string ValueOf(const ExifData& exif, const char* name) {
  const TagEntry* entry = Find(exif, name);
  if (entry == nullptr) return {};
  return CzechTag(*entry, exif.BigEndian()).Value;
}

std::string OrMissing(const std::string& text) { return text.empty() ? std::string(kMissing) : text; }

std::string WithZone(const std::string& date, const std::string& zone) {
  return zone.empty() ? date : date + " (UTC" + zone + ")";
}

// Signed degrees of a GPS coordinate and its reference ("S" and "W" negative).
std::optional<double> SignedDegrees(const ExifData& exif, const char* coordinate, const char* reference) {
  const TagEntry* entry = Find(exif, coordinate);
  if (entry == nullptr) return std::nullopt;
  const Numbers numbers(*entry, exif.BigEndian());
  if (numbers.Count() < 3) return std::nullopt;
  const double degrees = numbers.At(0) + numbers.At(1) / 60.0 + numbers.At(2) / 3600.0;
  const std::string ref = exif.TagValueByName(reference);
  const bool negative = !ref.empty() && (ref[0] == 'S' || ref[0] == 'W');
  return negative ? -degrees : degrees;
}

std::string MapNumber(double value) { return FormatNumber("%0.6f", value, '.'); }

}  // namespace

CzechTagText CzechTag(const TagEntry& entry, bool bigEndian) {
  if (entry.Group == static_cast<int32_t>(TagGroup::Maker)) {
    const CzechMakerName* row = FindCzechMakerName(entry.Desc);
    return {row != nullptr && row->Czech != nullptr ? row->Czech : entry.Desc, CzechMakerValue(entry.Data),
            row != nullptr && row->Technical};
  }
  const CzechTagRow* row = RowOf(entry);
  if (row == nullptr) return {entry.Desc, entry.Data, false};
  return {row->Name, Value(entry, *row, bigEndian), row->Technical};
}

CzechSummary MakeCzechSummary(const ExifData& exif) {
  CzechSummary summary;
  auto& v = summary.Values;
  v[0] = OrMissing(exif.TagValueByName("Make"));
  v[1] = OrMissing(exif.TagValueByName("Model"));
  v[2] = OrMissing(ValueOf(exif, "JpegQual"));
  v[3] = OrMissing(ValueOf(exif, "Flash"));
  std::string focal = ValueOf(exif, "FocalLength");
  if (const std::string equivalent = ValueOf(exif, "FocalLengthin35mmFilm"); !focal.empty() && !equivalent.empty())
    focal += " (ekv. 35 mm: " + equivalent + ")";
  v[4] = OrMissing(focal);
  std::string exposure = ValueOf(exif, "ExposureTime");
  if (exposure.empty()) exposure = ValueOf(exif, "ShutterSpeedValue");
  v[5] = OrMissing(exposure);
  std::string aperture = ValueOf(exif, "FNumber");
  if (aperture.empty()) aperture = ValueOf(exif, "ApertureValue");
  v[6] = OrMissing(aperture);
  v[7] = OrMissing(ValueOf(exif, "ISOSpeedRatings"));
  v[8] = OrMissing(ValueOf(exif, "ExposureProgram"));
  v[9] = OrMissing(ValueOf(exif, "MeteringMode"));
  v[10] = OrMissing(exif.TagValueByName("Software"));

  struct DateChoice {
    const char* name;
    const std::string& zone;
    DateSource source;
  };
  const DateChoice choices[] = {{"DateTimeOriginal", exif.OffsetTimeOriginal, DateSource::Original},
                                {"DateTimeDigitized", exif.OffsetTimeDigitized, DateSource::Digitized},
                                {"DateTime", exif.OffsetTime, DateSource::Modified}};
  for (const DateChoice& choice : choices) {
    const std::string date = ValueOf(exif, choice.name);
    // Cameras without a clock write blanks or zeros; those say nothing.
    if (date.empty() || date.find_first_not_of("0: ") == std::string::npos) continue;
    v[kSummaryDateRow] = WithZone(date, choice.zone);
    summary.Created = choice.source;
    break;
  }
  if (summary.Created == DateSource::None) v[kSummaryDateRow] = kMissing;
  return summary;
}

std::optional<CzechPosition> MakeCzechPosition(const ExifData& exif) {
  const std::optional<double> latitude = SignedDegrees(exif, "GPSLatitude", "GPSLatitudeRef");
  const std::optional<double> longitude = SignedDegrees(exif, "GPSLongitude", "GPSLongitudeRef");
  if (!latitude || !longitude) return std::nullopt;
  CzechPosition position;
  position.Latitude = *latitude;
  position.Longitude = *longitude;
  const std::string latitudeText = ValueOf(exif, "GPSLatitude");
  const std::string longitudeText = ValueOf(exif, "GPSLongitude");
  position.Text = latitudeText + (*latitude < 0 ? " j. š., " : " s. š., ") + longitudeText +
                  (*longitude < 0 ? " z. d." : " v. d.");
  if (const TagEntry* altitude = Find(exif, "GPSAltitude")) {
    const Numbers numbers(*altitude, exif.BigEndian());
    if (numbers.Count() > 0) {
      const bool below = exif.GetTagInt("GPSAltitudeRef") == 1;
      position.Text += ", " + CzechDecimal(numbers.At(0), 0) + (below ? " m pod hladinou moře" : " m n. m.");
    }
  }
  const std::string x = MapNumber(*longitude), y = MapNumber(*latitude);
  position.MapUrl = "https://mapy.cz/zakladni?source=coor&id=" + x + "%2C" + y + "&x=" + x + "&y=" + y + "&z=16";
  return position;
}

}  // namespace lumatrim
