#pragma once
#include <cstdint>
#include <string>

namespace lumatrim {

// Numbers and dates as Czech photographers write them. Every function takes
// plain numbers or the EXIF text forms and never throws.

// At most `decimals` decimals, a decimal comma, no trailing zeros: 7.4 -> "7,4", 72.0 -> "72".
std::string CzechDecimal(double value, int decimals);

// An exposure time in seconds: "1/75 s" below a quarter second, else "0,3 s", "2 s".
std::string CzechExposureTime(double seconds);

// "f/2,8"
std::string CzechFNumber(double fNumber);

// "+0,3 EV", "−0,7 EV", "0 EV"
std::string CzechExposureBias(double ev);

// "2015:02:26 16:20:11" -> "26. 2. 2015 16:20:11"; "2015:02:26" -> "26. 2. 2015".
// Text that is not such a date (or is all zeros) comes back as it is.
std::string CzechDateTime(const std::string& exifText);

// A file time (seconds since 1970) in local time, written as CzechDateTime does.
std::string CzechFileTime(int64_t secondsSinceEpoch);

// The EXIF Flash value: "Nevyblesklo", "Vyblesklo, automaticky", "Bez blesku", ...
std::string CzechFlash(int64_t value);

// Degrees, minutes and seconds: "50°5′7,2″" (minutes with a fraction and no
// seconds give the seconds from the fraction).
std::string CzechDegrees(double degrees, double minutes, double seconds);

}  // namespace lumatrim
