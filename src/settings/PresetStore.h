#pragma once
#include <QSettings>
#include <memory>
#include <vector>

#include "core/optimize/OptimizePresets.h"

// The program's settings file (~/.config/lumatrim/lumatrim.conf on Linux),
// shared by the windows and lumatrim-cli.
std::unique_ptr<QSettings> ProgramSettings();

// The user's own presets, stored by name in the group "presets". Entries
// that make no sense (no name, a side out of range) are left out.
std::vector<lumatrim::OptimizePreset> LoadUserPresets(QSettings& settings);
void SaveUserPresets(QSettings& settings, const std::vector<lumatrim::OptimizePreset>& presets);

// The default presets, then the user's (one of a default's name is left out).
std::vector<lumatrim::OptimizePreset> AllPresets(QSettings& settings);
