#include "core/makernotes/MakerText.h"

namespace lumatrim {

std::string ListItem(const std::string& text, const std::string& separator, int n) {
  if (n < 1 || separator.empty()) return {};
  size_t from = 0;
  for (int piece = 1;; ++piece) {
    const size_t at = text.find(separator, from);
    if (piece == n) return text.substr(from, at == std::string::npos ? std::string::npos : at - from);
    if (at == std::string::npos) return {};
    from = at + separator.size();
  }
}

bool HasContent(const std::string& text) { return text.find_first_not_of(' ') != std::string::npos; }

}  // namespace lumatrim
