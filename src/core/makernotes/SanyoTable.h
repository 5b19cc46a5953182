#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Sanyo maker notes (directory at byte 8).
extern const MakerTable SanyoTable;

}  // namespace lumatrim
