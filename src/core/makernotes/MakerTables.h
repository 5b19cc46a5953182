#pragma once
#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// The tag tables of the supported makes; MakerLayout says where each one's
// directory starts and where its value offsets count from.
extern const MakerTable NikonTable;     // newer Nikon cameras (directory at byte 18 or 0)
extern const MakerTable NikonOldTable;  // behind the old "Nikon" header (directory at byte 8)
extern const MakerTable OlympusTable;   // directory at byte 8
extern const MakerTable CasioTable;     // no header (directory at byte 0)
extern const MakerTable CasioQvcTable;  // behind the "QVC" header (directory at byte 6)
extern const MakerTable FujiTable;      // always little-endian (directory at byte 12)
extern const MakerTable CanonTable;     // directory at byte 0; three rows split their arrays into derived items
extern const MakerTable SeikoTable;     // Seiko (Epson), directory at byte 8
extern const MakerTable SanyoTable;     // directory at byte 8; Seiko's first rows and a data dump
extern const MakerTable MinoltaTable;   // directory at byte 0

}  // namespace lumatrim
