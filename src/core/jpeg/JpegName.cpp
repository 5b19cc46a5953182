#include "core/jpeg/JpegName.h"

#include <algorithm>
#include <cctype>

namespace lumatrim {
namespace {

constexpr std::string_view kJpegExtensions[] = {
    ".jpg",
    ".jpeg",
    ".jpe",
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

bool HasJpegExtension(std::string_view name) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = name.substr(dot);
  return std::any_of(std::begin(kJpegExtensions), std::end(kJpegExtensions),
                     [&](std::string_view known) { return SameIgnoringCase(extension, known); });
}

}  // namespace lumatrim
