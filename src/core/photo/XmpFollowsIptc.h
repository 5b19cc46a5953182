#pragma once
#include "core/iptc/IptcRecord.h"
#include "core/photo/PhotoMetadata.h"

namespace lumatrim {

// Items the user set in the IPTC record are written into the photo's XMP
// too, where the photo has XMP: programs that read XMP first would show the
// old value otherwise. True when the XMP changed.
bool XmpFollowsIptc(PhotoMetadata& photo, const IptcRecord& record);

}  // namespace lumatrim
