#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// Seiko (Epson) maker notes (directory at byte 8).
extern const MakerTable SeikoTable;

}  // namespace lumatrim
