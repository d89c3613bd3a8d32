#pragma once
// The package extraction the album wizard runs on Finish: check the package,
// check the space on the destination drive, create the destination, extract
// everything and collect the names of the extracted files.

#include <string>
#include <vector>

// Reports every failure to the user and returns false. On success the entry
// names are appended to names and the package is deleted when asked. A
// package whose extraction failed is kept.
bool ExtractParcelgram(const std::string& strPackage, const std::string& strDestDir, bool bDeleteWhenThrough,
                       std::vector<std::string>& names);
