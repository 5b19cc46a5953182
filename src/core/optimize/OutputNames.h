#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "core/optimize/OptimizeSettings.h"

namespace lumatrim {

// Where one photo of a batch goes.
struct PlannedOutput {
  std::string Path;
  bool Numbered = false;   // its plain name was taken (by an earlier photo of the batch, a source, or an old file)
  bool Shortened = false;  // its name was cut to fit the file system's limit
  bool Exists = false;     // a file of that name is there from an earlier run
  bool Skip = false;       // ...and the settings say to leave the photo out
};

// The output of every source, in order: <folder>/<subfolder>/<name><ext>, the
// name from settings.NamePattern ("opt_{název}": opt_<file name>) and the
// extension the source's (.jpg for a HEIF name, see HasHeifExtension,
// whatever the bytes, and for HEIF bytes under a name that is not a JPEG's).
// No two outputs of one batch share a name, and none is one of the sources:
// a later photo whose name is taken gets <name>-2<ext>, -3, ... (letter case
// ignored, so a FAT memory card cannot merge them either). A name longer than
// nameLimit bytes is shortened at its end, keeping the number and the
// extension, and cut only between UTF-8 characters. A file from an earlier
// run is replaced, numbered past or skipped as settings.Existing says. Dates
// are read from the photos only when the pattern asks for them.
std::vector<PlannedOutput> PlanOutputs(const std::vector<std::string>& sources, const OptimizeSettings& settings,
                                       size_t nameLimit);

// How many outputs of the batch would meet a file from an earlier run (the
// question the dialog asks once before a run).
int CountExistingOutputs(const std::vector<std::string>& sources, const OptimizeSettings& settings);

// The longest file name the folder's file system takes, in bytes (255 when
// it does not say).
size_t FileNameLimit(const std::string& folder);

// name + suffix + extension, the name cut so that the whole stays within limit bytes.
std::string FittedOutputName(const std::string& name, const std::string& suffix, const std::string& extension,
                             size_t limit);

}  // namespace lumatrim
