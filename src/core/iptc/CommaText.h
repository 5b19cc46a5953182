#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lumatrim {

// Comma text as the IPTC store keeps repeatable datasets: items separated by
// "," or blanks, an item with blanks, quotes or commas written in double quotes.
std::vector<std::string> ReadCommaText(const std::string& text);
std::string WriteCommaText(const std::vector<std::string>& items);

// item appended to out, in double quotes (a quote inside doubled) when one of
// its characters makes forcesQuotes true; as it is otherwise.
void AppendQuoted(std::string& out, std::string_view item, bool (*forcesQuotes)(char));

// Blanks (characters 1..32) removed from both ends.
std::string TrimBlanks(const std::string& text);

// existing with every item of added appended that it does not already hold
// (letter case ignored), as comma text.
std::string MergeCommaLists(const std::string& existing, const std::string& added);

}  // namespace lumatrim
