#pragma once
#include <string>

struct heif_image_handle;

namespace lumatrim {

// The colour profile of a HEIF image as ICC bytes: the file's own profile
// (prof/rICC), else one made from its nclx box; empty when the picture is
// sRGB, says nothing, or uses a curve we do not reproduce (PQ, HLG).
std::string HeifProfile(const heif_image_handle* handle);

}  // namespace lumatrim
