#include "core/exif/CzechValues.h"

#include <cmath>
#include <ctime>

#include "core/exif/TagRender.h"

namespace lumatrim {
namespace {

constexpr char kComma = ',';
constexpr double kLongestFraction = 0.25;  // shorter times are written as 1/x

bool Digits(const std::string& text, size_t from, size_t count) {
  if (from + count > text.size()) return false;
  for (size_t i = from; i < from + count; ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

int Number(const std::string& text, size_t from, size_t count) { return std::stoi(text.substr(from, count)); }

}  // namespace

std::string CzechDecimal(double value, int decimals) {
  if (!std::isfinite(value)) return "?";
  std::string text = FormatNumber("%0." + std::to_string(decimals) + "f", value, kComma);
  if (text.find(kComma) != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == kComma) text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

std::string CzechExposureTime(double seconds) {
  if (!(seconds > 0.0) || !std::isfinite(seconds)) return "0 s";
  if (seconds < kLongestFraction) {
    const double denominator = std::round(1.0 / seconds);
    if (denominator < 2.0e9) return "1/" + CzechDecimal(denominator, 0) + " s";
  }
  return CzechDecimal(seconds, 1) + " s";
}

std::string CzechFNumber(double fNumber) { return "f/" + CzechDecimal(fNumber, 1); }

std::string CzechExposureBias(double ev) {
  const std::string magnitude = CzechDecimal(std::fabs(ev), 1);
  if (magnitude == "0") return "0 EV";
  return (ev > 0 ? "+" : "\u2212") + magnitude + " EV";
}

std::string CzechDateTime(const std::string& exifText) {
  // YYYY:MM:DD, optionally followed by a blank and HH:MM[:SS]
  const bool date = exifText.size() >= 10 && Digits(exifText, 0, 4) && Digits(exifText, 5, 2) &&
                    Digits(exifText, 8, 2) && exifText[4] == exifText[7] &&
                    (exifText[4] == ':' || exifText[4] == '-');
  if (!date) return exifText;
  const int year = Number(exifText, 0, 4), month = Number(exifText, 5, 2), day = Number(exifText, 8, 2);
  if (year == 0 || month < 1 || month > 12 || day < 1 || day > 31) return exifText;
  std::string out = std::to_string(day) + ". " + std::to_string(month) + ". " + std::to_string(year);
  if (exifText.size() >= 16 && exifText[10] == ' ' && Digits(exifText, 11, 2) && exifText[13] == ':' &&
      Digits(exifText, 14, 2)) {
    out += " " + exifText.substr(11, 5);
    if (exifText.size() >= 19 && exifText[16] == ':' && Digits(exifText, 17, 2)) out += exifText.substr(16, 3);
  }
  return out;
}

std::string CzechFileTime(int64_t secondsSinceEpoch) {
  const auto time = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return {};
  char text[32];
  std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local);
  return CzechDateTime(text);
}

std::string CzechFlash(int64_t value) {
  if (value & 32) return "Bez blesku";
  std::string out = (value & 1) ? "Vyblesklo" : "Nevyblesklo";
  switch (value & 24) {
    case 8: out += ", vynucený"; break;
    case 16: out += ", vypnutý"; break;
    case 24: out += ", automaticky"; break;
  }
  switch (value & 6) {
    case 4: out += ", odraz nezachycen"; break;
    case 6: out += ", odraz zachycen"; break;
  }
  if (value & 64) out += ", potlačení červených očí";
  return out;
}

std::string CzechDegrees(double degrees, double minutes, double seconds) {
  if (seconds == 0.0 && minutes != std::trunc(minutes)) {
    seconds = (minutes - std::trunc(minutes)) * 60.0;
    minutes = std::trunc(minutes);
  }
  if (degrees != std::trunc(degrees) && minutes == 0.0 && seconds == 0.0) {
    const double whole = std::trunc(degrees);
    minutes = std::trunc((degrees - whole) * 60.0);
    seconds = ((degrees - whole) * 60.0 - minutes) * 60.0;
    degrees = whole;
  }
  return CzechDecimal(degrees, 0) + "\u00B0" + CzechDecimal(minutes, 0) + "\u2032" + CzechDecimal(seconds, 1) +
         "\u2033";
}

}  // namespace lumatrim
