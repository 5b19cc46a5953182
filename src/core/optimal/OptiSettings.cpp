#include "core/optimal/OptiSettings.h"

#include <cmath>
#include <filesystem>

#include "core/bytes/Error.h"

namespace lumatrim {

void ValidateOptiSettings(const OptiSettings& s) {
  if (s.TargetFolder.empty()) throw LumatrimError("No target folder was given.");
  if (s.Compression < 0 || s.Compression > 100) {
    throw LumatrimError("Compression " + std::to_string(s.Compression) + " % is outside 0 to 100 %.");
  }
  if (s.Jobs < 0) throw LumatrimError("The number of jobs cannot be negative.");
  if (s.KeepSize) return;
  for (auto [value, name] : {std::pair{s.ShortSide, "short side"}, std::pair{s.LongSide, "long side"}}) {
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

int LongSideFor(int shortSide) { return static_cast<int>(std::nearbyint(shortSide + shortSide / 3.0)); }

int ShortSideFor(int longSide) { return static_cast<int>(std::nearbyint(longSide - longSide / 4.0)); }

std::pair<int, int> TargetSize(int width, int height, const OptiSettings& s) {
  if (s.KeepSize) return {width, height};
  if (width > height) return {s.LongSide, s.ShortSide};
  if (width < height) return {s.ShortSide, s.LongSide};
  return {s.ShortSide, s.ShortSide};
}

std::string OutputPathFor(const std::string& targetFolder, const std::string& sourcePath) {
  std::string folder = targetFolder;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const std::string name = std::filesystem::path(sourcePath).filename().string();
  return (folder == "/" ? "" : folder) + "/opt_" + name;
}

}  // namespace lumatrim
