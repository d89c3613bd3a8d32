#include "tool/BmpStandIn.h"

#include "framework/CException.h"
#include "framework/CFile.h"
#include "storage/ByteOrder.h"
#include "tool/CToolPicture.h"

#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <vector>

std::unique_ptr<CToolPicture> ReadBmpStandIn(const std::string& path) {
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    const uint64_t length = file.GetLength();
    uint8_t head[54];
    if (file.Read(head, sizeof head) != sizeof head || head[0] != 'B' || head[1] != 'M')
        AfxThrowNotSupportedException();
    const uint32_t offBits = GetU32(head + 10);
    const uint32_t infoSize = GetU32(head + 14);
    const auto width = static_cast<int32_t>(GetU32(head + 18));
    const auto height = static_cast<int32_t>(GetU32(head + 22));
    const uint16_t bits = GetU16(head + 28);
    const uint32_t compression = GetU32(head + 30);
    uint32_t clrUsed = GetU32(head + 46);
    if (infoSize < 40 || width <= 0 || height <= 0 || compression != 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24))
        AfxThrowNotSupportedException();
    const uint64_t stride = (uint64_t{static_cast<uint32_t>(width)} * bits + 31) / 32 * 4;
    if (offBits + stride * static_cast<uint32_t>(height) > length) AfxThrowNotSupportedException();

    // The pixels are used where they lie in the file: mapped, not copied.
    void* pMap =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_POPULATE, file.GetHandle(), 0);
    if (pMap == MAP_FAILED) AfxThrowOsFileException(errno, path);
    std::shared_ptr<uint8_t> pBits(static_cast<uint8_t*>(pMap) + offBits,
                                   [pMap, length](uint8_t*) { ::munmap(pMap, length); });
    auto picture = std::make_unique<CToolPicture>(width, height, bits, std::move(pBits));
    if (bits <= 8) {
        const uint32_t entries = 1u << bits;
        if (clrUsed == 0 || clrUsed > entries) clrUsed = entries;
        if (14 + uint64_t{infoSize} + 4 * clrUsed > offBits) AfxThrowNotSupportedException();
        file.Seek(14 + infoSize, CFile::begin);
        file.ReadExact(picture->ColorTable().data(), 4 * clrUsed);
    }
    return picture;
}

void WriteBmpStandIn(const CToolPicture& picture, const std::string& path) {
    const uint32_t tableSize = static_cast<uint32_t>(picture.ColorTable().size());
    const uint32_t offBits = 14 + 40 + tableSize;
    const uint64_t fileSize = offBits + uint64_t{picture.ImageSize()};
    if (fileSize > 0xFFFFFFFFull) AfxThrowNotSupportedException();
    std::vector<uint8_t> head(offBits, 0);
    head[0] = 'B';
    head[1] = 'M';
    PutU32(&head[2], static_cast<uint32_t>(fileSize));
    PutU32(&head[10], offBits);
    PutU32(&head[14], 40);
    PutU32(&head[18], picture.Width());
    PutU32(&head[22], picture.Height());
    PutU16(&head[26], 1);
    PutU16(&head[28], static_cast<uint16_t>(picture.BitCount()));
    PutU32(&head[38], 2756);
    PutU32(&head[42], 2756);
    if (tableSize) std::memcpy(&head[54], picture.ColorTable().data(), tableSize);
    CAtomicFile out(path);
    out.File().Write(head.data(), offBits);
    out.File().Write(picture.Bits(), static_cast<uint32_t>(picture.ImageSize()));
    out.Commit();
}
