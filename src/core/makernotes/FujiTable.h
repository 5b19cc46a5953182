#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Fujifilm maker notes, always little-endian (directory at byte 12).
extern const MakerTable FujiTable;

}  // namespace lumatrim
