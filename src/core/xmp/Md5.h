#pragma once
#include <string>
#include <string_view>

namespace lumatrim {

// The MD5 digest of bytes as 32 upper-case hex digits (Nettle's MD5): the
// GUID that ties an extended XMP packet to its standard packet.
std::string Md5Hex(std::string_view bytes);

}  // namespace lumatrim
