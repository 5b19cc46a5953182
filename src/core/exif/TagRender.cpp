#include "core/exif/TagRender.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale>

#include "core/bytes/Error.h"

namespace lumatrim {
namespace {

constexpr int kBytesPerFormat[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
constexpr size_t kMaxElements = 128;
constexpr size_t kPrintableLength = 50;

bool IsIntegerFormat(int fmt) {
  return fmt == 1 || fmt == 3 || fmt == 4 || fmt == 6 || fmt == 8 || fmt == 9;
}

std::string Trim(const std::string& text) {
  size_t a = 0, b = text.size();
  while (a < b && static_cast<unsigned char>(text[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(text[b - 1]) <= ' ') --b;
  return text.substr(a, b - a);
}

// A whole decimal number with an optional sign, nothing else.
bool ParseInt(const std::string& text, int64_t& out) {
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = first + text.size();
  if (*first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, out);
  return ec == std::errc() && ptr == last && first != last;
}

struct Conversion {
  std::string flags;
  int width = 0;
  int precision = -1;
  char type = 0;
};

std::string Pad(std::string body, const Conversion& c) {
  const bool left = c.flags.find('-') != std::string::npos;
  const bool zero = c.flags.find('0') != std::string::npos && !left && c.type != 's';
  if (c.flags.find('+') != std::string::npos && !body.empty() && body[0] != '-') body.insert(0, "+");
  else if (c.flags.find(' ') != std::string::npos && !body.empty() && body[0] != '-') body.insert(0, " ");
  if (static_cast<int>(body.size()) >= c.width) return body;
  const size_t fill = c.width - body.size();
  if (left) return body + std::string(fill, ' ');
  if (zero) {
    const size_t signLength = (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
    return body.insert(signLength, std::string(fill, '0'));
  }
  return std::string(fill, ' ') + body;
}

std::string Convert(const Conversion& c, double value, char separator) {
  char buffer[512];
  std::to_chars_result result{};
  std::string body;
  switch (c.type) {
    case 'f':
    case 'e':
    case 'g': {
      if (!std::isfinite(value)) {
        body = std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
        break;
      }
      const auto style = c.type == 'f' ? std::chars_format::fixed
                         : c.type == 'e' ? std::chars_format::scientific
                                         : std::chars_format::general;
      const int precision = c.precision < 0 ? (c.type == 'g' ? 15 : 2) : std::min(c.precision, 60);
      // Fixed notation of a huge number does not fit; scientific always does.
      const auto safeStyle = (style == std::chars_format::fixed && std::fabs(value) >= 1e300)
                                 ? std::chars_format::scientific
                                 : style;
      result = std::to_chars(buffer, buffer + sizeof buffer, value, safeStyle, precision);
      body.assign(buffer, result.ptr);
      for (char& ch : body)
        if (ch == '.') ch = separator;
      break;
    }
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X': {
      const double clamped = std::isfinite(value) ? std::max(-9.2e18, std::min(9.2e18, value)) : 0.0;
      const auto integer = static_cast<int64_t>(std::trunc(clamped));
      const int base = (c.type == 'x' || c.type == 'X') ? 16 : 10;
      result = std::to_chars(buffer, buffer + sizeof buffer, integer, base);
      body.assign(buffer, result.ptr);
      if (c.type == 'X')
        for (char& ch : body) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      break;
    }
    case 's': {
      result = std::to_chars(buffer, buffer + sizeof buffer, value);
      body.assign(buffer, result.ptr);
      for (char& ch : body)
        if (ch == '.') ch = separator;
      break;
    }
    default:
      throw LumatrimError(std::string("Format '%") + c.type + "' invalid or incompatible with argument");
  }
  return Pad(body, c);
}

}  // namespace

int BytesPerFormat(int fmt) { return (fmt >= 0 && fmt <= 12) ? kBytesPerFormat[fmt] : 0; }

char DefaultDecimalSeparator() {
  return std::use_facet<std::numpunct<char>>(std::locale()).decimal_point();
}

std::string FormatNumber(const std::string& format, double value, char decimalSeparator) {
  std::string out;
  bool used = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    Conversion c;
    size_t j = i + 1;
    while (j < format.size() && std::string_view("-+ 0#").find(format[j]) != std::string_view::npos)
      c.flags += format[j++];
    while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j])) && c.width < 1000)
      c.width = c.width * 10 + (format[j++] - '0');
    if (j < format.size() && format[j] == '.') {
      c.precision = 0;
      ++j;
      while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j])) && c.precision < 1000)
        c.precision = c.precision * 10 + (format[j++] - '0');
    }
    if (j >= format.size()) throw LumatrimError("Format '" + format + "' invalid or incompatible with argument");
    c.type = format[j];
    if (used) throw LumatrimError("Format '" + format + "' invalid or incompatible with argument");
    used = true;
    out += Convert(c, value, decimalSeparator);
    i = j;
  }
  return out;
}

int32_t RawToInt(const std::string& raw, bool bigEndian) {
  uint32_t value = 0;
  const size_t n = raw.size();
  for (size_t k = 0; k < n; ++k) {
    const auto byte = static_cast<unsigned char>(bigEndian ? raw[k] : raw[n - 1 - k]);
    value = value << 8 | byte;
  }
  return static_cast<int32_t>(value);
}

double RawToNumber(const std::string& raw, int fmt, bool bigEndian) {
  if (IsIntegerFormat(fmt)) return RawToInt(raw, bigEndian);
  if (fmt == 5 || fmt == 10) {
    const int32_t numerator = RawToInt(raw.substr(0, 4), bigEndian);
    const int32_t denominator = RawToInt(raw.size() > 4 ? raw.substr(4, 4) : std::string(), bigEndian);
    return denominator == 0 ? 0.0 : static_cast<double>(numerator) / denominator;
  }
  return 0.0;
}

std::string RenderValue(const std::string& raw, int fmt, const std::string& decodeList,
                        const std::string& formatString, bool bigEndian, char decimalSeparator) {
  const int size = BytesPerFormat(fmt);
  if (size == 0) return "0";
  const size_t elements = std::min(raw.size() / size, kMaxElements);
  std::string text;
  for (size_t k = 0; k < elements; ++k) {
    if (!text.empty()) text += ", ";
    const std::string element = raw.substr(k * size, size);
    if (IsIntegerFormat(fmt)) {
      const std::string number = std::to_string(RawToInt(element, bigEndian));
      text += decodeList.empty() ? number : DecodeValue(decodeList, number);
    } else if (fmt == 5 || fmt == 10) {
      text += std::to_string(RawToInt(element.substr(0, 4), bigEndian)) + "/" +
              std::to_string(RawToInt(element.substr(4, 4), bigEndian));
      if (!decodeList.empty()) text += DecodeValue(decodeList, text);
    } else if (fmt == 11 || fmt == 12) {
      text += "-9999.99";
    }
  }
  if (formatString.empty()) return text;
  if (const size_t at = formatString.find("%s"); at != std::string::npos)
    return formatString.substr(0, at) + text + formatString.substr(at + 2);
  return FormatNumber(formatString, RawToNumber(raw, fmt, bigEndian), decimalSeparator);
}

std::string DecodeValue(const std::string& decodeList, const std::string& key) {
  const std::string wanted = Trim(key);
  size_t start = 0;
  while (start <= decodeList.size()) {
    size_t end = decodeList.find(',', start);
    if (end == std::string::npos) end = decodeList.size();
    const std::string item = decodeList.substr(start, end - start);
    if (const size_t colon = item.find(':'); colon != std::string::npos) {
      if (Trim(item.substr(0, colon)) == wanted) return item.substr(colon + 1);
    }
    start = end + 1;
  }
  return {};
}

std::string Printable(const std::string& text) {
  std::string out = text.substr(0, kPrintableLength);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32) c = '.';
  return out;
}

double RationalTextToFloat(const std::string& text) {
  const std::string trimmed = Trim(text);
  int64_t whole = 0;
  std::string fraction = trimmed;
  if (const size_t blank = trimmed.find(' '); blank != std::string::npos) {
    if (!ParseInt(trimmed.substr(0, blank), whole)) return 0.0;
    fraction = Trim(trimmed.substr(blank + 1));
  }
  const size_t slash = fraction.find('/');
  if (slash == std::string::npos) return 0.0;
  int64_t numerator = 0, denominator = 0;
  if (!ParseInt(fraction.substr(0, slash), numerator) || !ParseInt(fraction.substr(slash + 1), denominator))
    return 0.0;
  if (denominator == 0) return 0.0;
  return (static_cast<double>(whole) * denominator + numerator) / denominator;
}

int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  constexpr double kLimit = 9.0e18;
  if (value > kLimit) return static_cast<int64_t>(kLimit);
  if (value < -kLimit) return static_cast<int64_t>(-kLimit);
  return static_cast<int64_t>(std::nearbyint(value));
}

}  // namespace lumatrim
