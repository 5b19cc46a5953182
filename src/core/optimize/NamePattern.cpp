#include "core/optimize/NamePattern.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <string_view>

#include "core/bytes/Error.h"
#include "core/photo/PhotoReader.h"

namespace lumatrim {
namespace {

enum class NameField { Name, Date, Time, Sequence };

struct NameToken {
  std::string_view text;
  NameField field;
};

constexpr NameToken kNameTokens[] = {
    {"název",  NameField::Name},
    {"nazev",  NameField::Name},
    {"datum",  NameField::Date},
    {"čas",    NameField::Time},
    {"cas",    NameField::Time},
    {"pořadí", NameField::Sequence},
    {"poradi", NameField::Sequence},
};

constexpr int kMaxSequenceWidth = 9;

struct Field {
  NameField field;
  int width;  // of {pořadí:N}; 0 otherwise
};

// The field inside one pair of braces, or nothing when it is not one we know.
std::optional<Field> ParseField(std::string_view inside) {
  int width = 0;
  if (const size_t colon = inside.find(':'); colon != std::string_view::npos) {
    const std::string_view digits = inside.substr(colon + 1);
    if (digits.size() != 1 || digits[0] < '1' || digits[0] > '0' + kMaxSequenceWidth) return std::nullopt;
    width = digits[0] - '0';
    inside = inside.substr(0, colon);
  }
  for (const NameToken& token : kNameTokens) {
    if (token.text != inside) continue;
    if (width > 0 && token.field != NameField::Sequence) return std::nullopt;
    return Field{token.field, width};
  }
  return std::nullopt;
}

// Calls text(piece) for plain text and field(f) for each field; throws on a malformed pattern.
template <typename OnText, typename OnField>
void WalkPattern(const std::string& pattern, OnText text, OnField field) {
  size_t at = 0;
  while (at < pattern.size()) {
    const size_t open = pattern.find('{', at);
    text(std::string_view(pattern).substr(at, open == std::string::npos ? std::string::npos : open - at));
    if (open == std::string::npos) return;
    const size_t close = pattern.find('}', open);
    if (close == std::string::npos) throw LumatrimError("The name pattern \"" + pattern + "\" has a \"{\" without \"}\".");
    const std::string_view inside = std::string_view(pattern).substr(open + 1, close - open - 1);
    const std::optional<Field> parsed = ParseField(inside);
    if (!parsed) throw LumatrimError("The name pattern has an unknown field {" + std::string(inside) + "}.");
    field(*parsed);
    at = close + 1;
  }
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

void ValidateNamePattern(const std::string& pattern) {
  if (pattern.empty()) throw LumatrimError("The name pattern is empty.");
  if (pattern.find('/') != std::string::npos || pattern.find('\0') != std::string::npos) {
    throw LumatrimError("The name pattern \"" + pattern + "\" may not contain \"/\".");
  }
  WalkPattern(pattern, [](std::string_view) {}, [](const Field&) {});
  if (pattern == "." || pattern == "..") throw LumatrimError("The name pattern \"" + pattern + "\" is not a name.");
}

bool PatternUsesTime(const std::string& pattern) {
  bool uses = false;
  try {
    WalkPattern(pattern, [](std::string_view) {},
                [&](const Field& f) { uses = uses || f.field == NameField::Date || f.field == NameField::Time; });
  } catch (const LumatrimError&) {
  }
  return uses;
}

std::string ExpandNamePattern(const std::string& pattern, const std::string& stem, int sequence,
                              const PhotoTime& taken) {
  std::string name;
  WalkPattern(pattern, [&](std::string_view piece) { name += piece; },
              [&](const Field& f) {
                switch (f.field) {
                  case NameField::Name:
                    name += stem;
                    break;
                  case NameField::Date:
                    name += std::to_string(taken.Year) + "-" + TwoDigits(taken.Month) + "-" + TwoDigits(taken.Day);
                    break;
                  case NameField::Time:
                    name += TwoDigits(taken.Hour) + "-" + TwoDigits(taken.Minute) + "-" + TwoDigits(taken.Second);
                    break;
                  case NameField::Sequence: {
                    const std::string digits = std::to_string(sequence);
                    const size_t width = static_cast<size_t>(f.width);
                    name += std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
                    break;
                  }
                }
              });
  return name;
}

std::optional<PhotoTime> ParseExifDateTime(const std::string& text) {
  PhotoTime t;
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%4d:%2d:%2d %2d:%2d:%2d%n", &t.Year, &t.Month, &t.Day, &t.Hour, &t.Minute,
                  &t.Second, &consumed) != 6 ||
      consumed != 19) {
    return std::nullopt;
  }
  // Cameras without a clock write zeros; those are no date.
  if (t.Year < 1 || t.Month < 1 || t.Month > 12 || t.Day < 1 || t.Day > 31 || t.Hour > 23 || t.Minute > 59 ||
      t.Second > 60 || t.Hour < 0 || t.Minute < 0 || t.Second < 0) {
    return std::nullopt;
  }
  return t;
}

PhotoTime PhotoTakenTime(const std::string& path) {
  const PhotoMetadata meta = ReadPhotoMetadata(path);
  if (meta.exif) {
    if (auto taken = ParseExifDateTime(meta.exif->TagValueByName("DateTimeOriginal"))) return *taken;
  }
  struct stat info {};
  std::tm local{};
  if (::stat(path.c_str(), &info) != 0 || ::localtime_r(&info.st_mtim.tv_sec, &local) == nullptr) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace lumatrim
