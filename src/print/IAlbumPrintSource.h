#pragma once
// What an album print needs of the album: its photos' texts and pictures.
// The album document provides it in the program, the tool and tests their own.

#include <memory>
#include <string>

class CDib;

class IAlbumPrintSource {
public:
    virtual ~IAlbumPrintSource() = default;
    virtual int GetCount() const = 0;
    virtual std::string GetTitle(int i) const = 0;
    virtual std::string GetDescription(int i) const = 0;
    // The stored thumbnail and the full picture of photo i; nullptr when it
    // cannot be read (the cell then stays empty).
    virtual std::unique_ptr<CDib> LoadThumbnail(int i) = 0;
    virtual std::unique_ptr<CDib> LoadImage(int i) = 0;
};
