#pragma once
#include <functional>
#include <vector>

#include "core/optimize/OptimizePresets.h"

// One function per verb of lumatrim-cli. Each gets the arguments after the
// verb and returns the exit status: 0 success, 1 a failure, 2 a usage error.
namespace cli {

int RunInfo(int argc, char** argv);
int RunStrip(int argc, char** argv);
int RunIptc(int argc, char** argv);
int RunRotate(int argc, char** argv);
int RunOptimize(int argc, char** argv);

// Where "optimize --preset NAME" looks names up: the default presets unless
// main() hands over the user's settings file as well.
using PresetList = std::function<std::vector<lumatrim::OptimizePreset>()>;
void SetOptimizePresets(PresetList presets);

}  // namespace cli
