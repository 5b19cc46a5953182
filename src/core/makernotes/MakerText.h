#pragma once
#include <string>

namespace lumatrim {

// The n-th piece (counted from 1) of text cut at every occurrence of
// separator; pieces keep their blanks. Empty when text has fewer pieces.
std::string ListItem(const std::string& text, const std::string& separator, int n);

// True when text holds something other than blanks.
bool HasContent(const std::string& text);

}  // namespace lumatrim
