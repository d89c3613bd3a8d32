#include "framework/CException.h"

#include <cerrno>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)

int CFileException::OsErrorToCause(int osError) {
    switch (osError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EWOULDBLOCK:
        return accessDenied; // also a lock held by another writer
    case EBADF:
    case EFBIG:
        return invalidFile;
    case ESPIPE:
    case EOVERFLOW:
        return badSeek;
    case EIO:
    case ENXIO:
    case ENODEV:
        return hardIO;
    case ETXTBSY:
    case EBUSY:
        return sharingViolation;
    case ENOLCK:
    case EDEADLK:
        return lockViolation;
    case ENOSPC:
    case EDQUOT:
        return diskFull;
    default:
        return generic;
    }
}

void AfxThrowMemoryException() {
    throw CMemoryException();
}

void AfxThrowFileException(int cause, long lOsError, const std::string& fileName) {
    throw CFileException(cause, lOsError, fileName);
}

void AfxThrowOsFileException(int osError, const std::string& fileName) {
    throw CFileException(CFileException::OsErrorToCause(osError), osError, fileName);
}

void AfxThrowArchiveException(int cause, const std::string& fileName) {
    throw CArchiveException(cause, fileName);
}

void AfxThrowUserException() {
    throw CUserException();
}

void AfxThrowResourceException() {
    throw CResourceException();
}

void AfxThrowNotSupportedException() {
    throw CNotSupportedException();
}
