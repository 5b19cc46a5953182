#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Casio maker notes behind the "QVC" header (directory at byte 6).
extern const MakerTable CasioQvcTable;

}  // namespace lumatrim
