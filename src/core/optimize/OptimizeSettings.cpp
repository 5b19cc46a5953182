#include "core/optimize/OptimizeSettings.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "core/bytes/Error.h"
#include "core/optimize/NamePattern.h"

namespace lumatrim {

void ValidateOptimizeSettings(const OptimizeSettings& s) {
  if (s.TargetFolder.empty()) throw LumatrimError("No target folder was given.");
  ValidateNamePattern(s.NamePattern);
  if (s.Compression < 0 || s.Compression > 100) {
    throw LumatrimError("Compression " + std::to_string(s.Compression) + " % is outside 0 to 100 %.");
  }
  if (s.Jobs < 0) throw LumatrimError("The number of jobs cannot be negative.");
  if (s.Quality == QualityMode::Automatic && !(s.AutoQualityScore >= 1 && s.AutoQualityScore <= 100)) {
    throw LumatrimError("The quality score " + std::to_string(s.AutoQualityScore) + " is outside 1 to 100.");
  }
  if (s.Quality == QualityMode::MaxFileSize && s.MaxFileBytes == 0) {
    throw LumatrimError("The largest file size must be more than 0 bytes.");
  }
  if (s.KeepSize) return;
  const bool shortUsed = s.Rule != SizeRule::LongSideFixed;
  const bool longUsed = s.Rule != SizeRule::ShortSideFixed;
  for (auto [used, value, name] :
       {std::tuple{shortUsed, s.ShortSide, "short side"}, std::tuple{longUsed, s.LongSide, "long side"}}) {
    if (!used) continue;  // the free side is worked out per photo
    if (value < 1) {
      throw LumatrimError(std::string("The ") + name + " of " + std::to_string(value) +
                          " px is too small; it must be at least 1 px.");
    }
    if (value > kMaxTargetSide) {
      throw LumatrimError(std::string("The ") + name + " of " + std::to_string(value) +
                          " px is too large; a JPEG photo can have at most " + std::to_string(kMaxTargetSide) +
                          " px.");
    }
  }
}

namespace {

bool ParseDigits(const std::string& text, int& value) {
  size_t begin = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  const std::string digits = begin == std::string::npos ? "" : text.substr(begin, end - begin + 1);
  bool ok = !digits.empty() && digits.size() <= 9;
  for (size_t i = 0; ok && i < digits.size(); ++i) {
    ok = (digits[i] >= '0' && digits[i] <= '9') || (i == 0 && digits.size() > 1 && (digits[0] == '+' || digits[0] == '-'));
  }
  if (ok) value = std::stoi(digits);
  return ok;
}

}  // namespace

int ParseSide(const std::string& text, const std::string& fieldName) {
  int value = 0;
  if (!ParseDigits(text, value)) throw LumatrimError("The " + fieldName + " \"" + text + "\" is not a whole number of pixels.");
  return value;
}

int ParseWholeNumber(const std::string& text, const std::string& fieldName) {
  int value = 0;
  if (!ParseDigits(text, value)) throw LumatrimError("The " + fieldName + " \"" + text + "\" is not a whole number.");
  return value;
}

namespace {

// A plain decimal number (point or comma), no sign, no exponent.
bool ParseDecimal(const std::string& digits, double& value) {
  bool seenDigit = false, seenPoint = false;
  std::string normalised;
  for (char c : digits) {
    if (c >= '0' && c <= '9') {
      seenDigit = true;
    } else if ((c == '.' || c == ',') && !seenPoint) {
      seenPoint = true;
      c = '.';
    } else {
      return false;
    }
    normalised += c;
  }
  if (!seenDigit || normalised.size() > 20) return false;
  value = std::strtod(normalised.c_str(), nullptr);
  return true;
}

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

uint64_t ParseFileSize(const std::string& text) {
  std::string rest = Trimmed(text);
  double unit = 1;
  const auto endsWith = [&](const char* suffix) {
    const std::string s = suffix;
    if (rest.size() <= s.size()) return false;
    for (size_t i = 0; i < s.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(rest[rest.size() - s.size() + i])) != s[i]) return false;
    }
    rest = Trimmed(rest.substr(0, rest.size() - s.size()));
    return true;
  };
  if (endsWith("kb") || endsWith("k")) {
    unit = 1024;
  } else if (endsWith("mb") || endsWith("m")) {
    unit = 1024.0 * 1024;
  }
  double value = 0;
  const bool wholeBytes = unit > 1 || rest.find_first_of(".,") == std::string::npos;
  if (!ParseDecimal(rest, value) || !wholeBytes || value * unit < 1 || value * unit > 1099511627776.0) {
    throw LumatrimError("The file size \"" + text + "\" is not a size such as 500k, 2M or 300000 bytes.");
  }
  return static_cast<uint64_t>(std::floor(value * unit));
}

double ParseScore(const std::string& text) {
  double value = 0;
  if (!ParseDecimal(Trimmed(text), value) || value < 1 || value > 100) {
    throw LumatrimError("The quality score \"" + text + "\" is not a number from 1 to 100.");
  }
  return value;
}

int LongSideFor(int shortSide) { return static_cast<int>(std::nearbyint(shortSide + shortSide / 3.0)); }

int ShortSideFor(int longSide) { return static_cast<int>(std::nearbyint(longSide - longSide / 4.0)); }

int ProportionalSide(int fixedSide, int side, int otherSide) {
  const int64_t product = int64_t{fixedSide} * otherSide;
  int64_t quotient = product / side;
  const int64_t twiceRest = 2 * (product % side);
  if (twiceRest > side || (twiceRest == side && quotient % 2 != 0)) ++quotient;
  return static_cast<int>(std::min<int64_t>(quotient, int64_t{1} << 30));
}

std::pair<int, int> TargetSize(int width, int height, const OptimizeSettings& s) {
  if (s.KeepSize) return {width, height};
  const auto [targetWidth, targetHeight] = RequestedSize(width, height, s);
  if (!s.AllowEnlarge && (targetWidth > width || targetHeight > height)) return {width, height};
  return {targetWidth, targetHeight};
}

std::pair<int, int> RequestedSize(int width, int height, const OptimizeSettings& s) {
  if (s.Rule == SizeRule::BothSides) {
    if (width > height) return {s.LongSide, s.ShortSide};
    if (width < height) return {s.ShortSide, s.LongSide};
    return {s.ShortSide, s.ShortSide};
  }
  const int shortOwn = std::min(width, height), longOwn = std::max(width, height);
  if (shortOwn < 1) {
    throw LumatrimError("a photo of " + std::to_string(width) + " x " + std::to_string(height) +
                        " px has no proportions to keep");
  }
  int shortSide = s.ShortSide, longSide = s.LongSide;
  if (s.Rule == SizeRule::ShortSideFixed) {
    longSide = std::max(1, ProportionalSide(shortSide, shortOwn, longOwn));
    if (longSide > kMaxTargetSide) {
      throw LumatrimError("In its own proportions the photo's long side would be " + std::to_string(longSide) +
                          " px; a JPEG photo can have at most " + std::to_string(kMaxTargetSide) + " px.");
    }
  } else {
    shortSide = std::max(1, ProportionalSide(longSide, longOwn, shortOwn));
  }
  return width >= height ? std::pair{longSide, shortSide} : std::pair{shortSide, longSide};
}

}  // namespace lumatrim
