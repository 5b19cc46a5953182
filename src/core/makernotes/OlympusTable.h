#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Olympus maker notes (directory at byte 8).
extern const MakerTable OlympusTable;

}  // namespace lumatrim
