#include "framework/ReportException.h"

#include "framework/CAppException.h"
#include "framework/StringTable.h"
#include "framework/Trace.h"
#include "framework/UserPrompt.h"

#include <new>

std::string GetExceptionMessage(const CException& e) {
    if (dynamic_cast<const CMemoryException*>(&e))
        return LoadResString(IDS_NOT_ENOUGH_MEMORY) + LoadResString(IDS_NOT_ENOUGH_MEMORY_TSR);
    if (auto* pApp = dynamic_cast<const CAppException*>(&e))
        return pApp->m_strText.empty() ? LoadResString(pApp->m_nMessageId) : pApp->m_strText;
    if (auto* pFile = dynamic_cast<const CFileException*>(&e)) {
        switch (pFile->m_cause) {
        case CFileException::generic:
        case CFileException::tooManyOpenFiles:
        case CFileException::invalidFile:
        case CFileException::directoryFull:
        case CFileException::badSeek:
        case CFileException::hardIO:
            return LoadResString(IDS_FILE_IO_ERROR);
        case CFileException::fileNotFound:
        case CFileException::badPath:
            return LoadResString(IDS_FILE_NOT_FOUND);
        case CFileException::accessDenied:
            return LoadResString(IDS_FILE_IN_USE);
        case CFileException::diskFull:
            return LoadResString(IDS_DISK_FULL);
        default:
            return LoadResString(IDS_FILE_EXCEPTION);
        }
    }
    if (dynamic_cast<const CUserException*>(&e)) return LoadResString(IDS_USER_EXCEPTION);
    if (auto* pAr = dynamic_cast<const CArchiveException*>(&e)) {
        switch (pAr->m_cause) {
        case CArchiveException::endOfFile:
        case CArchiveException::badIndex:
        case CArchiveException::badClass:
        case CArchiveException::badSchema:
            return LoadResString(IDS_UNEXPECTED_FORMAT);
        default:
            return LoadResString(IDS_ARCHIVE_EXCEPTION);
        }
    }
    if (dynamic_cast<const CResourceException*>(&e)) return LoadResString(IDS_RESOURCE_EXCEPTION);
    if (dynamic_cast<const CNotSupportedException*>(&e)) return LoadResString(IDS_UNSUPPORTED_OPERATION);
    return LoadResString(IDS_INTERNAL_ERROR);
}

std::string GetExceptionMessage(std::exception_ptr p) {
    try {
        std::rethrow_exception(p);
    } catch (const CException& e) {
        return GetExceptionMessage(e);
    } catch (const std::bad_alloc&) {
        return GetExceptionMessage(CMemoryException());
    } catch (...) {
        return LoadResString(IDS_INTERNAL_ERROR);
    }
}

void ReportException(const CException& e) {
    try {
        GetUserPrompt().MessageBox(GetExceptionMessage(e), MB_OK | MB_ICONSTOP);
        if (dynamic_cast<const CMemoryException*>(&e)) GetUserPrompt().ShowHelp(kHelpMemory);
    } catch (...) {
        ZTRACE("ReportException(): the report itself failed\n");
    }
}

void ReportException(std::exception_ptr p) {
    try {
        std::rethrow_exception(p);
    } catch (const CException& e) {
        ReportException(e);
    } catch (const std::bad_alloc&) {
        ReportException(CMemoryException());
    } catch (...) {
        try {
            GetUserPrompt().MessageBox(LoadResString(IDS_INTERNAL_ERROR), MB_OK | MB_ICONSTOP);
        } catch (...) {
        }
    }
}

CLastChanceResult ProcessWndProcException(std::exception_ptr p, unsigned nMsg, bool bFromControl) {
    if (nMsg == WM_CREATE) return {-1, false, false};
    if (nMsg == WM_PAINT) return {0, true, false};
    ReportException(p);
    return {nMsg == WM_COMMAND && !bFromControl ? 1 : 0, false, true};
}
