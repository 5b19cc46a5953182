#include "core/exif/TagRenderFuncs.h"
#include "core/exif/TagTables.h"

namespace lumatrim {

// Tags of the GPS directory, 0x00..0x1E in order.
constexpr TagDefinition GpsTagTable[kGpsTagRows] = {
    {0, 0x00, "GPSVersionID",         "", "", "", nullptr},
    {0, 0x01, "GPSLatitudeRef",       "", "", "", nullptr},
    {0, 0x02, "GPSLatitude",          "", "", "", RenderGpsCoordinate},
    {0, 0x03, "GPSLongitudeRef",      "", "", "", nullptr},
    {0, 0x04, "GPSLongitude",         "", "", "", RenderGpsCoordinate},
    {0, 0x05, "GPSAltitudeRef",       "", "0:Sealevel", "", nullptr},
    {0, 0x06, "GPSAltitude",          "", "", "", nullptr},
    {0, 0x07, "GPSTimeStamp",         "", "", "", RenderGpsTime},
    {0, 0x08, "GPSSatellites",        "", "", "", nullptr},
    {0, 0x09, "GPSStatus",            "", "", "", nullptr},
    {0, 0x0A, "GPSMeasureMode",       "", "", "", nullptr},
    {0, 0x0B, "GPSDOP",               "", "", "", nullptr},
    {0, 0x0C, "GPSSpeedRef",          "", "", "", nullptr},
    {0, 0x0D, "GPSSpeed",             "", "", "", nullptr},
    {0, 0x0E, "GPSTrackRef",          "", "", "", nullptr},
    {0, 0x0F, "GPSTrack",             "", "", "", nullptr},
    {0, 0x10, "GPSImageDirectionRef", "", "", "", nullptr},
    {0, 0x11, "GPSImageDirection",    "", "", "", nullptr},
    {0, 0x12, "GPSMapDatum",          "", "", "", nullptr},
    {0, 0x13, "GPSDestLatitudeRef",   "", "", "", nullptr},
    {0, 0x14, "GPSDestLatitude",      "", "", "", RenderGpsCoordinate},
    {0, 0x15, "GPSDestLongitudeRef",  "", "", "", nullptr},
    {0, 0x16, "GPSDestLongitude",     "", "", "", RenderGpsCoordinate},
    {0, 0x17, "GPSDestBearingkRef",   "", "", "", nullptr},
    {0, 0x18, "GPSDestBearing",       "", "", "", nullptr},
    {0, 0x19, "GPSDestDistanceRef",   "", "", "", nullptr},
    {0, 0x1A, "GPSDestDistance",      "", "", "", nullptr},
    {0, 0x1B, "GPSProcessingMode",    "", "", "", nullptr},
    {0, 0x1C, "GPSAreaInformation",   "", "", "", nullptr},
    {0, 0x1D, "GPSDateStamp",         "", "", "", nullptr},
    {0, 0x1E, "GPSDifferential",      "", "", "", nullptr},
};
static_assert(RowsInTagOrder(GpsTagTable, kGpsTagRows), "rows must stay in tag order");

}  // namespace lumatrim
