#pragma once

#include "core/corestate.h"

namespace vellara {

// The settings file in the working directory.
inline constexpr char kSettingsFileName[] = "vellara.ini";

// Fills the settings and both registries from "vellara.ini". Never stops at a
// fault: what cannot be read keeps its previous value.
void ReadSettingsFile(CoreState &state);

// Replaces "vellara.ini" with the current settings. When the file cannot be
// written the user is told why, the old file is left whole and false returned.
bool WriteSettingsFile(const CoreState &state);

} // namespace vellara
