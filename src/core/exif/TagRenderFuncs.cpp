#include "core/exif/TagRenderFuncs.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/bytes/Error.h"
#include "core/exif/TagRender.h"

namespace lumatrim {
namespace {

char SeparatorOf(const TagRenderContext& context) {
  return context.DecimalSeparator ? context.DecimalSeparator : DefaultDecimalSeparator();
}

std::vector<std::string> SplitAtCommaBlank(const std::string& value) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t at = value.find(", ", start);
    parts.push_back(value.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) break;
    start = at + 2;
  }
  return parts;
}

// Three rationals "a/b, c/d, e/f" as numbers; missing ones are 0.
void ThreeNumbers(const std::string& value, double& first, double& second, double& third) {
  const auto parts = SplitAtCommaBlank(value);
  first = parts.size() > 0 ? RationalTextToFloat(parts[0]) : 0.0;
  second = parts.size() > 1 ? RationalTextToFloat(parts[1]) : 0.0;
  third = parts.size() > 2 ? RationalTextToFloat(parts[2]) : 0.0;
}

}  // namespace

std::string RenderComponents(const std::string& value, TagRenderContext&) {
  static const char* const kNames[] = {"", "Y", "Cb", "Cr", "R", "G", "B"};
  std::string out;
  for (size_t i = 1; i <= 4 && i < value.size(); ++i) {
    const auto code = static_cast<unsigned char>(value[i]);
    if (code >= 1 && code <= 6) out += kNames[code];
  }
  return out;
}

std::string RenderShutterSpeed(const std::string& value, TagRenderContext& context) {
  const char separator = SeparatorOf(context);
  const double apex = RationalTextToFloat(value);
  const double seconds = std::pow(2.0, -apex);
  std::string out = FormatNumber("%4.4f sec", seconds, separator);
  if (seconds <= 0.5 && seconds > 0.0) {
    const double denominator = 1.0 / seconds;
    // An absurd APEX value has no meaningful 1/x form; leave it out.
    if (std::isfinite(denominator) && denominator < 2.0e9)
      out += " (1/" + std::to_string(RoundHalfEven(denominator)) + ")";
  }
  return out;
}

std::string RenderFlash(const std::string& value, TagRenderContext&) {
  std::string digits = value;
  while (!digits.empty() && digits.front() == ' ') digits.erase(0, 1);
  size_t used = 0;
  long long v = 0;
  try {
    v = std::stoll(digits, &used, 10);
  } catch (const std::logic_error&) {  // not a number, or out of range
    used = 0;
  }
  if (digits.empty() || used != digits.size())
    throw LumatrimError("'" + value + "' is not a valid integer value");
  std::string out = (v & 1) ? "On" : "Off";
  switch (v & 6) {
    case 2: out += ", UNKNOWN"; break;
    case 4: out += ", no strobe return"; break;
    case 6: out += ", strobe return"; break;
  }
  switch (v & 24) {
    case 8: out += ", forced"; break;
    case 16: out += ", surpressed"; break;
    case 24: out += ", auto mode"; break;
  }
  if (v & 32) out += ", no flash function";
  if (v & 64) out += ", red-eye reduction";
  return out;
}

std::string RenderUserComment(const std::string& value, TagRenderContext&) {
  return value.size() > 8 ? value.substr(8) : std::string();
}

std::string RenderText16(const std::string& value, TagRenderContext&) {
  auto numbers = SplitAtCommaBlank(value);
  numbers.pop_back();  // the number after the last comma is never taken
  std::string out;
  for (size_t i = 0; i < numbers.size() && out.size() < 64; i += 2) {
    const long code = std::strtol(numbers[i].c_str(), nullptr, 10) & 0xFF;
    if (code != 0) out += static_cast<char>(code);
  }
  return out;
}

std::string RenderGpsCoordinate(const std::string& value, TagRenderContext& context) {
  const char separator = SeparatorOf(context);
  double degrees, minutes, seconds;
  ThreeNumbers(value, degrees, minutes, seconds);
  if (seconds == 0.0) {
    seconds = (minutes - std::trunc(minutes)) * 100 * 0.6;
    minutes = std::trunc(minutes);
  }
  return FormatNumber("%0.0f", degrees, separator) + " Degrees " + FormatNumber("%0.0f", minutes, separator) +
         " Minutes " + FormatNumber("%0.0f", seconds, separator) + " Seconds";
}

std::string RenderGpsTime(const std::string& value, TagRenderContext& context) {
  const char separator = SeparatorOf(context);
  double hours, minutes, seconds;
  ThreeNumbers(value, hours, minutes, seconds);
  return FormatNumber("%0.0f", hours, separator) + ":" + FormatNumber("%0.0f", minutes, separator) + ":" +
         FormatNumber("%0.0f", seconds, separator);
}

}  // namespace lumatrim
