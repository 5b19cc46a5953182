#include "core/iptc/KeywordList.h"

#include "core/iptc/CommaText.h"

namespace lumatrim {
namespace {

bool IsSeparator(char c) { return c == ',' || c == ';' || c == '\n' || c == '\r'; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool ForcesQuotes(char c) { return IsSeparator(c) || c == '"'; }

}  // namespace

std::vector<std::string> ReadKeywordList(const std::string& text) {
  std::vector<std::string> keywords;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::string keyword;
    if (i < text.size() && text[i] == '"') {
      for (++i; i < text.size(); ++i) {
        if (text[i] != '"') keyword += text[i];
        else if (i + 1 < text.size() && text[i + 1] == '"') keyword += text[++i];
        else break;
      }
      ++i;  // the closing quote; whatever follows up to the separator is kept too
    }
    while (i < text.size() && !IsSeparator(text[i])) keyword += text[i++];
    ++i;  // the separator
    keyword = TrimBlanks(keyword);
    if (!keyword.empty()) keywords.push_back(std::move(keyword));
  }
  return keywords;
}

std::string WriteKeywordList(const std::vector<std::string>& keywords, const std::string& separator) {
  std::string out;
  for (const std::string& keyword : keywords) {
    if (!out.empty()) out += separator;
    AppendQuoted(out, keyword, ForcesQuotes);
  }
  return out;
}

}  // namespace lumatrim
