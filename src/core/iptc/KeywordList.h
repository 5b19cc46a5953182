#pragma once
#include <string>
#include <vector>

namespace lumatrim {

// Keywords as people type them: one per line, or separated by commas or
// semicolons. Blanks inside a keyword belong to it ("hrad Karlštejn" is one
// keyword); blanks around it and empty pieces are dropped. Quotes are not
// needed, but a piece in double quotes (a doubled quote inside standing for
// one) is taken whole, separators included, so the lists the program showed
// before read back unchanged.
std::vector<std::string> ReadKeywordList(const std::string& text);

// The keywords joined by separator; one holding a separator, a line break or
// a double quote is written in double quotes.
std::string WriteKeywordList(const std::vector<std::string>& keywords, const std::string& separator = ", ");

}  // namespace lumatrim
