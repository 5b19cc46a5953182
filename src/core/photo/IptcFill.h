#pragma once
#include <string>
#include <vector>

namespace lumatrim {

// One IPTC item to fill into many photos: its key name and its values (one,
// or a keyword list). A repeatable item's values are added to those a photo
// has; any other item's value replaces the photo's.
struct IptcFillItem {
  std::string Name;
  std::vector<std::string> Values;
};

// Reads the JPEG photo at path, fills the items into its IPTC record (made
// anew when it has none) and writes it back in place, atomically. Throws
// LumatrimError (a read-only photo: NoPermission) and leaves the file as it was.
void FillIptc(const std::string& path, const std::vector<IptcFillItem>& items);

}  // namespace lumatrim
