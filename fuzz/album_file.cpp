// Loads an album file from arbitrary bytes: archive errors, never a crash or
// an allocation beyond the data.

#include "album/CAlbum.h"
#include "framework/CArchive.h"
#include "framework/CException.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile f(data, size);
    CArchive ar(&f, CArchive::load);
    CAlbum album;
    try {
        album.Load(ar);
        // What was read stores again.
        CMemFile out;
        CArchive w(&out, CArchive::store);
        album.Store(w);
        w.Close();
    } catch (const CException&) {
    }
    return 0;
}
