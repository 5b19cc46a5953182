#pragma once
#include <span>
#include <string>
#include <string_view>

namespace lumatrim {

// The Czech side of the maker tables, keyed by a maker row's (or a Canon
// derived item's) display name. Czech is null where no Czech term is
// established: the maker's name stays. Technical rows hold arrays, offsets
// or embedded blocks and are hidden unless the user asks for them.
struct CzechMakerName {
  const char* English;
  const char* Czech;
  bool Technical;
};

// A value word of the maker decode lists that Czech photographers say in Czech.
struct CzechValueWord {
  const char* English;
  const char* Czech;
};

std::span<const CzechMakerName> CzechMakerNames();
std::span<const CzechValueWord> CzechValueWords();

// The row of an English display name, or null.
const CzechMakerName* FindCzechMakerName(std::string_view english);

// A maker value in Czech when it is one common word or phrase; any other
// value without the blanks and quotes around it.
std::string CzechMakerValue(const std::string& value);

}  // namespace lumatrim
