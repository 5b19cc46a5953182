#pragma once
#include <string>

#include "core/exif/TagEntry.h"

namespace lumatrim {

// Render functions of the main and GPS dictionaries (value text in, display
// text out). Numbers use the decimal separator of the context when set.
std::string RenderComponents(const std::string& value, TagRenderContext& context);
std::string RenderShutterSpeed(const std::string& value, TagRenderContext& context);
std::string RenderFlash(const std::string& value, TagRenderContext& context);  // throws on a non-integer
std::string RenderUserComment(const std::string& value, TagRenderContext& context);
std::string RenderText16(const std::string& value, TagRenderContext& context);
std::string RenderGpsCoordinate(const std::string& value, TagRenderContext& context);
std::string RenderGpsTime(const std::string& value, TagRenderContext& context);

}  // namespace lumatrim
