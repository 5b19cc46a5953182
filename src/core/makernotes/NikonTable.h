#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Nikon maker notes of the newer cameras (directory at byte 18 or 0).
extern const MakerTable NikonTable;

}  // namespace lumatrim
