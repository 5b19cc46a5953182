#include "core/makernotes/NikonRender.h"

#include "core/exif/TagEntry.h"
#include "core/exif/TagRender.h"

namespace lumatrim {

std::string NikonColorMode(const std::string& value, TagRenderContext&) {
  // The five characters after the opening quote; a shorter text keeps its closing quote.
  const std::string mode = value.substr(value.empty() ? 0 : 1, 5);
  if (mode == "MODE1") return "Mode1 (sRGB)";
  if (mode == "MODE2") return "Mode 2 (Adobe RGB)";
  if (mode == "MODE3") return "Mode 3 (sRGB): higher saturation";
  return mode;
}

std::string NikonLensText(const std::string& value, TagRenderContext& context) {
  double numbers[4] = {0, 0, 0, 0};
  std::string rest = value;
  for (int i = 0; i < 3; ++i) {
    const size_t comma = rest.find(", ");
    if (comma == std::string::npos) {
      numbers[i] = 0;
      rest = rest.substr(0, 64);
    } else {
      numbers[i] = RationalTextToFloat(rest.substr(0, comma));
      rest = rest.substr(comma + 1, 64);
    }
  }
  numbers[3] = RationalTextToFloat(rest);

  const char separator = context.DecimalSeparator ? context.DecimalSeparator : DefaultDecimalSeparator();
  auto one = [separator](double v) { return FormatNumber("%0.1f", v, separator); };
  return one(numbers[0]) + "-" + one(numbers[1]) + "(mm)  F" + one(numbers[2]) + "-F" + one(numbers[3]);
}

}  // namespace lumatrim
