#include "core/makernotes/MinoltaTable.h"

#include <iterator>

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    MakerRow(0,    "ModelID",      "ModelID"),
    MakerRow(3584, "PIMdata",      "PIMdata"),
};
// clang-format on
static_assert(std::size(kRows) == 2);
}  // namespace

const MakerTable MinoltaTable{kRows};

}  // namespace lumatrim
