#include "core/iptc/CommaText.h"

#include <algorithm>

#include "core/iptc/IptcTagTable.h"

namespace lumatrim {
namespace {

// Byte 0 ends a C string in the tools that wrote this format; we treat it as
// a blank so a stray zero can neither end the list nor stall the reader.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

bool ForcesQuotes(char c) { return IsBlank(c) || c == '"' || c == ','; }

}  // namespace

std::string TrimBlanks(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::vector<std::string> ReadCommaText(const std::string& text) {
  std::vector<std::string> items;
  const size_t n = text.size();
  size_t p = 0;
  while (p < n && IsBlank(text[p])) ++p;
  while (p < n) {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      const size_t start = p;
      while (p < n && !IsBlank(text[p]) && text[p] != ',') ++p;
      item = text.substr(start, p - start);
    }
    items.push_back(std::move(item));
    while (p < n && IsBlank(text[p])) ++p;
    if (p < n && text[p] == ',') {
      if (p + 1 == n) items.emplace_back();
      ++p;
      while (p < n && IsBlank(text[p])) ++p;
    }
  }
  return items;
}

std::string WriteCommaText(const std::vector<std::string>& items) {
  if (items.size() == 1 && items[0].empty()) return "\"\"";
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ',';
    AppendQuoted(out, items[i], ForcesQuotes);
  }
  return out;
}

void AppendQuoted(std::string& out, std::string_view item, bool (*forcesQuotes)(char)) {
  if (std::ranges::none_of(item, forcesQuotes)) {
    out += item;
    return;
  }
  out += '"';
  for (char c : item) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string MergeCommaLists(const std::string& existing, const std::string& added) {
  std::vector<std::string> a = ReadCommaText(existing);
  for (const std::string& raw : ReadCommaText(added)) {
    const std::string b = TrimBlanks(raw);
    bool known = false;
    for (const std::string& have : a) known = known || SameNameIgnoringCase(have, b);
    if (!known) a.push_back(b);
  }
  return WriteCommaText(a);
}

}  // namespace lumatrim
