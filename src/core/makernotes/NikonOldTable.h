#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Nikon maker notes behind the old "Nikon" header (directory at byte 8).
extern const MakerTable NikonOldTable;

}  // namespace lumatrim
