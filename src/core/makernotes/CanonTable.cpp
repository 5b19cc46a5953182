#include "core/makernotes/CanonTable.h"

#include <iterator>

#include "core/makernotes/CanonRender.h"

namespace lumatrim {

namespace {
// clang-format off
constexpr TagDefinition kRows[] = {
    SkipRow(0),
    MakerRow(1,  "ExposureInfo1",      "ExposureInfo1",      "", CanonCameraSettings),
    SkipRow(2),
    SkipRow(3),
    MakerRow(4,  "ExposureInfo2",      "ExposureInfo2",      "", CanonShotInfo),
    MakerRow(6,  "ImageType",          "ImageType"),
    MakerRow(7,  "FirmwareVersion",    "FirmwareVersion"),
    MakerRow(8,  "ImageNumber",        "ImageNumber"),
    MakerRow(9,  "OwnerName",          "OwnerName"),
    SkipRow(10),
    SkipRow(11),
    MakerRow(12, "CameraSerialNumber", "CameraSerialNumber"),
    SkipRow(13),
    SkipRow(14),
    MakerRow(15, "CustomFunctions",    "CustomFunctions",    "", CanonCustomFunctions),
    SkipRow(16),
};
// clang-format on
static_assert(std::size(kRows) == 16);
}  // namespace

const MakerTable CanonTable{kRows};

}  // namespace lumatrim
