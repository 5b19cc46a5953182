#pragma once
#include <string>
#include <vector>

#include "core/exif/TagEntry.h"

namespace lumatrim {

// The three Canon arrays (tags 1, 4 and 15) split into derived items, which
// are added to context.Added before the parent entry is stored. Each raises
// context.BlockRendered, so the parent keeps its number list as its value.
std::string CanonCameraSettings(const std::string& value, TagRenderContext& context);
std::string CanonShotInfo(const std::string& value, TagRenderContext& context);
std::string CanonCustomFunctions(const std::string& value, TagRenderContext& context);

// The display names of every derived item, in table order.
std::vector<std::string> CanonDerivedLabels();

}  // namespace lumatrim
