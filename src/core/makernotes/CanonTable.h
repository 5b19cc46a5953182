#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Canon maker notes (directory at byte 0); three rows split their arrays into derived items.
extern const MakerTable CanonTable;

}  // namespace lumatrim
