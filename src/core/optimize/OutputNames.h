#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace lumatrim {

// Where one photo of a batch goes.
struct PlannedOutput {
  std::string Path;
  bool Numbered = false;   // its plain name was taken by an earlier photo of the batch (or a source)
  bool Shortened = false;  // its name was cut to fit the file system's limit
};

// The output of every source, in order: <folder>/opt_<file name>, with the
// extension .jpg for a HEIF photo (by its name or its bytes). No two
// outputs of one batch share a name, and none is one of the sources: a later
// photo whose name is taken gets opt_<stem>-2<ext>, -3, ... (letter case
// ignored, so a FAT memory card cannot merge them either). A name longer
// than nameLimit bytes is shortened, keeping "opt_", the extension and the
// number, and cut only between UTF-8 characters. An existing file from an
// earlier run is not a clash: the batch replaces it, as it always has.
std::vector<PlannedOutput> PlanOutputs(const std::string& targetFolder, const std::vector<std::string>& sources,
                                       size_t nameLimit);

// The longest file name the folder's file system takes, in bytes (255 when
// it does not say).
size_t FileNameLimit(const std::string& folder);

// "opt_" + stem + suffix + extension, the stem cut so that the whole stays
// within limit bytes.
std::string FittedOutputName(const std::string& stem, const std::string& suffix, const std::string& extension,
                             size_t limit);

}  // namespace lumatrim
