#pragma once
#include <optional>
#include <string>

namespace lumatrim::test {

// A member of an exiftool -j reference file (a flat object, one "key": value
// per line) as text; strings lose their quotes and escapes. Absent: nullopt.
struct RefValue {
  std::string text;
  bool quoted;
};

inline std::optional<RefValue> RefJson(const std::string& json, const std::string& key) {
  size_t at = json.find("\"" + key + "\": ");
  if (at == std::string::npos) return std::nullopt;
  at += key.size() + 4;
  RefValue v{"", at < json.size() && json[at] == '"'};
  if (!v.quoted) return RefValue{json.substr(at, json.find_first_of(",\n}", at) - at), false};
  for (++at; at < json.size() && json[at] != '"'; ++at) v.text += json[at] == '\\' ? json[++at] : json[at];
  return v;
}

}  // namespace lumatrim::test
