#pragma once
// The album file on disk: written beside the old one through an archive and
// renamed over it only when complete; read through an archive.

#include <functional>
#include <string>

class CArchive;
class CAtomicFile;

// Writes the file through write(archive); the old file stays as it was when
// anything fails.
void WriteAlbumFileBeside(const std::string& path, const std::function<void(CArchive&)>& write);
// The same into a file beside the album made beforehand (so that an album file
// that cannot be created is known before anything else changes).
void WriteAlbumFileBeside(CAtomicFile& file, const std::function<void(CArchive&)>& write);
// Opens the file for reading and runs read(archive); file exceptions as CFile raises them.
void ReadAlbumFile(const std::string& path, const std::function<void(CArchive&)>& read);

// Tests: called before every write to the new album file with its 0-based
// number (and once more, numbered after the writes, before the rename); it
// may throw to simulate a failing disk. Empty: no hook.
void SetAlbumWriteHook(std::function<void(int nWrite)> hook);
