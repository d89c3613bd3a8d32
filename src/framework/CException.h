#pragma once
// The exception classes of the framework layer. They are thrown by value and
// caught by reference; ReportException turns any of them into its message.

#include "framework/CObject.h"

#include <exception>
#include <memory>
#include <string>

class CException : public CObject, public std::exception {
    DECLARE_DYNAMIC(CException)
public:
    const char* what() const noexcept override { return GetRuntimeClass()->m_lpszClassName; }
    // A copy of the most derived object, for holding an exception beyond its catch block.
    virtual std::unique_ptr<CException> Clone() const = 0;
    [[noreturn]] virtual void Rethrow() const = 0;
};

#define ZOZI_EXCEPTION_COPYABLE(cls)                                                                         \
    std::unique_ptr<CException> Clone() const override {                                                     \
        return std::make_unique<cls>(*this);                                                                 \
    }                                                                                                        \
    [[noreturn]] void Rethrow() const override {                                                             \
        throw *this;                                                                                         \
    }

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    ZOZI_EXCEPTION_COPYABLE(CMemoryException)
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, long lOsError = -1, std::string fileName = {})
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(std::move(fileName)) {}
    ZOZI_EXCEPTION_COPYABLE(CFileException)

    // Maps a POSIX errno value to a cause.
    static int OsErrorToCause(int osError);

    int m_cause;
    long m_lOsError;
    std::string m_strFileName;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none = 0,
        generic = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7,
    };

    explicit CArchiveException(int cause = none, std::string fileName = {})
        : m_cause(cause), m_strFileName(std::move(fileName)) {}
    ZOZI_EXCEPTION_COPYABLE(CArchiveException)

    int m_cause;
    std::string m_strFileName;
};

class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
public:
    ZOZI_EXCEPTION_COPYABLE(CUserException)
};

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
public:
    ZOZI_EXCEPTION_COPYABLE(CResourceException)
};

class CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    ZOZI_EXCEPTION_COPYABLE(CNotSupportedException)
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowFileException(int cause, long lOsError = -1, const std::string& fileName = {});
// Throws the file exception for a failed system call (errno value).
[[noreturn]] void AfxThrowOsFileException(int osError, const std::string& fileName = {});
[[noreturn]] void AfxThrowArchiveException(int cause, const std::string& fileName = {});
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowNotSupportedException();
