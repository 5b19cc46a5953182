#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Casio maker notes without a header (directory at byte 0).
extern const MakerTable CasioTable;

}  // namespace lumatrim
