#pragma once
// Serialisation archive with the byte format of the original framework's
// archives: little-endian numbers, length-prefixed strings and object tags
// (0x0000 null, 0xFFFF new class, 0x8000|index class reference, index object
// reference, 0x7FFF followed by a 32-bit tag for large indexes).
//
// Reading bounds every length by the bytes present before it allocates.

#include "framework/CFile.h"
#include "framework/CRect.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    static constexpr uint16_t wNullTag = 0x0000;
    static constexpr uint16_t wNewClassTag = 0xFFFF;
    static constexpr uint16_t wClassTag = 0x8000;
    static constexpr uint32_t dwBigClassTag = 0x80000000;
    static constexpr uint16_t wBigObjectTag = 0x7FFF;
    static constexpr uint32_t nMaxMapCount = 0x3FFFFFFE;

    CArchive(CFile* pFile, Mode nMode);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    ~CArchive(); // does not flush: call Close() to write what is buffered

    bool IsLoading() const { return m_nMode == load; }
    bool IsStoring() const { return m_nMode == store; }
    CFile* GetFile() const { return m_pFile; }

    void Flush();
    void Close(); // flushes when storing
    void Abort(); // drops what is buffered

    void Read(void* p, uint32_t n);
    void Write(const void* p, uint32_t n);
    // Bytes that can still be read (buffered plus what the file holds after its position).
    uint64_t BytesRemaining() const;

    CArchive& operator<<(uint8_t v);
    CArchive& operator<<(uint16_t v);
    CArchive& operator<<(int16_t v) { return *this << static_cast<uint16_t>(v); }
    CArchive& operator<<(uint32_t v);
    CArchive& operator<<(int32_t v) { return *this << static_cast<uint32_t>(v); }
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const std::string& s) {
        WriteString(s);
        return *this;
    }

    CArchive& operator>>(uint8_t& v);
    CArchive& operator>>(uint16_t& v);
    CArchive& operator>>(int16_t& v);
    CArchive& operator>>(uint32_t& v);
    CArchive& operator>>(int32_t& v);
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(std::string& s) {
        s = ReadString();
        return *this;
    }

    void WriteString(const std::string& s);
    std::string ReadString();

    // Objects: the tag scheme above. WriteObject(nullptr) writes the null tag.
    void WriteObject(const CObject* pOb);
    // Returns a new object (owned by the caller), nullptr for the null tag, or
    // an object read earlier when the tag refers back to it (then *pbReference
    // is set and the caller does not own it a second time; objects read must
    // therefore live as long as the archive). The object's class
    // must derive from pClassRefRequested when that is given.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested, bool* pbReference = nullptr);
    // Class records alone (as the framework's WriteClass / ReadClass).
    void WriteClass(const CRuntimeClass* pClassRef);
    const CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr,
                                   unsigned* pSchema = nullptr);

    unsigned GetObjectSchema() const { return m_nObjectSchema; }

private:
    void FillBuffer(uint32_t nNeeded);
    const CRuntimeClass* ReadClassTag(const CRuntimeClass* pClassRefRequested, unsigned* pSchema,
                                      uint32_t* pObTag);
    template <typename T> T ReadLE();
    template <typename T> void WriteLE(T v);
    [[noreturn]] void ThrowEnd() const;

    CFile* m_pFile;
    Mode m_nMode;
    std::vector<uint8_t> m_buf;
    size_t m_nBufPos = 0; // loading: next byte to hand out; storing: bytes buffered
    size_t m_nBufLen = 0; // loading: bytes in the buffer

    // Store: the classes and objects written so far with their indexes.
    std::unordered_map<const void*, uint32_t> m_storeMap;
    // Load: index -> class or object (index 0 is the null object).
    struct LoadEntry {
        const CRuntimeClass* pClass;
        CObject* pObject;
    };
    std::vector<LoadEntry> m_loadArray;
    uint32_t m_nMapCount = 1;
    unsigned m_nObjectSchema = 0xFFFFFFFF;
};

// Reads a signature and throws the archive exception (bad index) when it differs.
void ReadSignature(CArchive& ar, const char* pSignature, uint32_t nSize);
// Reads nCount points of two 32-bit numbers each, refusing a count beyond the data.
std::vector<CPoint> ReadPoints(CArchive& ar, uint32_t nCount);

// Loads the object from a file; false when the file cannot be opened
// (archive exceptions when its contents are malformed).
bool SerializeFromFile(const std::string& path, CObject& ob);
// Stores the object in a file written beside the path and renamed over it
// when complete; false when the file cannot be created.
bool SerializeToFile(const std::string& path, CObject& ob);
