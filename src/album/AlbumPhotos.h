#pragma once
// What albums ask of photo files: pictures, thumbnails, texts, and the file
// exception that a photo-file call reporting failure turns into.

#include <memory>
#include <string>

class CDib;

// The picture of a photo file, of a companion photo file (its source picture)
// or of a foreign picture file. A picture that cannot be read raises a file
// exception (invalidFile, or the memory exception when memory is short).
std::unique_ptr<CDib> LoadPhotoImage(const std::string& path);

// Builds the thumbnail of the scale from the picture (stretched to the full
// size, portrait sizes swapped), stores it in the photo file and records the
// album path in that scale's backward paths. 8-bit thumbnails are stored raw,
// 24-bit ones as JPEG.
void CreateThumbnail(const std::string& photoPath, CDib& picture, int nScale, const std::string& albumPath);

// The thumbnail the stretch method makes of the picture (no file touched).
std::unique_ptr<CDib> MakeThumbnailDib(CDib& picture, int nScale, int nStretchMethod);

// A path for the status bar and messages: at most 64 characters, lower case.
std::string ShortenPathForDisplay(const std::string& path);

// Title (data tag 1) and description (data tag 2); empty when absent.
std::string GetPhotoText(const std::string& photoPath, unsigned nTag);
// Overwrites unless bKeep; with bKeep an existing text stays.
void SetPhotoText(const std::string& photoPath, unsigned nTag, const std::string& text, bool bKeep = false);

// The file name with its extension, without its directory.
std::string FileNameOfPath(const std::string& path);

// A photo-file call that reported failure: the file exception, generic cause.
[[noreturn]] void ThrowPhotoFileError(const std::string& photoPath);
