#pragma once
#include <string>

#include "core/exif/TagEntry.h"

namespace lumatrim {

// Tag 141: the quoted colour-mode text, "MODE1".."MODE3" spelt out.
std::string NikonColorMode(const std::string& value, TagRenderContext& context);

// Tag 132: four rationals "n/d, n/d, n/d, n/d" as "18.0-70.0(mm)  F3.5-F4.5".
std::string NikonLensText(const std::string& value, TagRenderContext& context);

}  // namespace lumatrim
