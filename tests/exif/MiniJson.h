#pragma once
#include <cctype>
#include <cstdlib>
#include <map>
#include <string>

namespace lumatrim::test {

// Just enough JSON for the exiftool reference files: the members of the first
// object of a top-level array (or of a top-level object). Strings are
// unescaped, numbers kept as text; nested arrays and objects are kept as
// their raw text.
struct JsonScalar {
  enum Kind { String, Number, Other } kind = Other;
  std::string text;
  double Value() const { return std::strtod(text.c_str(), nullptr); }
};

class MiniJson {
 public:
  static std::map<std::string, JsonScalar> FirstObject(const std::string& json) {
    MiniJson p(json);
    p.Blank();
    if (p.Peek() == '[') {
      ++p.pos_;
      p.Blank();
    }
    std::map<std::string, JsonScalar> out;
    if (p.Peek() != '{') return out;
    ++p.pos_;
    while (true) {
      p.Blank();
      if (p.Peek() != '"') break;
      const std::string key = p.String();
      p.Blank();
      if (p.Peek() != ':') break;
      ++p.pos_;
      p.Blank();
      out[key] = p.Value();
      p.Blank();
      if (p.Peek() != ',') break;
      ++p.pos_;
    }
    return out;
  }

 private:
  explicit MiniJson(const std::string& text) : s_(text) {}
  char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
  void Blank() {
    while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
  }

  std::string String() {
    std::string out;
    ++pos_;  // opening quote
    while (pos_ < s_.size() && s_[pos_] != '"') {
      char c = s_[pos_++];
      if (c != '\\' || pos_ >= s_.size()) {
        out += c;
        continue;
      }
      c = s_[pos_++];
      switch (c) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          const unsigned code = static_cast<unsigned>(std::strtoul(s_.substr(pos_, 4).c_str(), nullptr, 16));
          pos_ += 4;
          if (code < 0x80) out += static_cast<char>(code);
          else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
          } else {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
          }
          break;
        }
        default: out += c;
      }
    }
    ++pos_;  // closing quote
    return out;
  }

  JsonScalar Value() {
    JsonScalar v;
    const char c = Peek();
    if (c == '"') {
      v.kind = JsonScalar::String;
      v.text = String();
    } else if (c == '[' || c == '{') {
      const size_t start = pos_;
      int depth = 0;
      bool inString = false;
      for (; pos_ < s_.size(); ++pos_) {
        const char d = s_[pos_];
        if (inString) {
          if (d == '\\') ++pos_;
          else if (d == '"') inString = false;
        } else if (d == '"') inString = true;
        else if (d == '[' || d == '{') ++depth;
        else if ((d == ']' || d == '}') && --depth == 0) {
          ++pos_;
          break;
        }
      }
      v.text = s_.substr(start, pos_ - start);
    } else {
      const size_t start = pos_;
      while (pos_ < s_.size() && s_[pos_] != ',' && s_[pos_] != '}' && s_[pos_] != ']' &&
             !std::isspace(static_cast<unsigned char>(s_[pos_])))
        ++pos_;
      v.text = s_.substr(start, pos_ - start);
      v.kind = (!v.text.empty() && (std::isdigit(static_cast<unsigned char>(v.text[0])) || v.text[0] == '-'))
                   ? JsonScalar::Number
                   : JsonScalar::Other;
    }
    return v;
  }

  const std::string& s_;
  size_t pos_ = 0;
};

}  // namespace lumatrim::test
