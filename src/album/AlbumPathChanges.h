#pragma once
// Moving albums to another directory: the album files and the photos' backward paths.

#include <string>
#include <vector>

// The prefixes two paths have before their longest common ending.
void GetPathChangePrefixes(const std::string& oldPath, const std::string& newPath, std::string& oldPrefix,
                           std::string& newPrefix);

// For each pair in order: rewrites the missing photo paths of the album (now
// at its new path), moves its backward paths in every photo and writes it
// back. False when an album cannot be opened (the rest are not applied).
bool ApplyAlbumPathChanges(const std::vector<std::string>& oldPaths,
                           const std::vector<std::string>& newPaths);
