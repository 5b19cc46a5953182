#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Minolta maker notes (directory at byte 0).
extern const MakerTable MinoltaTable;

}  // namespace lumatrim
