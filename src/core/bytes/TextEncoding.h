#pragma once
#include <string>

namespace lumatrim {

// Value texts are bytes as the camera wrote them. For display: the bytes as
// they are when they are valid UTF-8, otherwise read as Latin-1 and converted.
std::string DisplayUtf8(const std::string& bytes);

bool IsValidUtf8(const std::string& bytes);

}  // namespace lumatrim
