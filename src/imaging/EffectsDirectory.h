#pragma once
// Where the predefined tone curves are when the "Directory"/"Utilities"
// preference is empty: share/pictavo-zozi/effects beside the folder that
// holds the running program.

#include <string>

std::string GetDefaultEffectsDirectory();
// The preference's folder, or the default one when it is empty.
std::string GetEffectsDirectory(const std::string& strUtilitiesPref);
