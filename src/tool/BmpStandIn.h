#pragma once
// Uncompressed Windows BMP files for zozi-tool until CDib reads and writes
// them: a stand-in, to be replaced by the bitmap class's own file code.

#include <memory>
#include <string>

class CToolPicture;

// Bottom-up, uncompressed, 1, 4, 8, 16 or 24 bits. Anything else, or a file
// shorter than its headers say, throws CNotSupportedException / CFileException.
std::unique_ptr<CToolPicture> ReadBmpStandIn(const std::string& path);
// Written beside the target and renamed over it.
void WriteBmpStandIn(const CToolPicture& picture, const std::string& path);
