#pragma once
#include <string_view>

namespace lumatrim {

// .jpg, .jpeg or .jpe in any letter case: the one list of JPEG names, for the
// file list, the batch and the reader's guess at files whose bytes say nothing.
// A path works too: a dot before its last slash is not an extension.
bool HasJpegExtension(std::string_view name);

}  // namespace lumatrim
