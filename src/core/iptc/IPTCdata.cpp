#include "core/iptc/IPTCdata.h"

namespace lumatrim {

TIPTCdata::TIPTCdata(TimgData* owner) : owner_(owner) {}
TIPTCdata::~TIPTCdata() = default;

}  // namespace lumatrim
