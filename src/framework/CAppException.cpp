#include "framework/CAppException.h"

IMPLEMENT_DYNAMIC(CAppException, CException)

CAppException::CAppException(const std::string& text) : m_nMessageId(kNoMessageId), m_strText(text) {
    if (m_strText.size() > kMaxText) {
        size_t n = kMaxText;
        // Do not leave half a UTF-8 sequence at the cut.
        while (n > 0 && (static_cast<unsigned char>(m_strText[n]) & 0xC0) == 0x80) --n;
        m_strText.resize(n);
    }
}

void ThrowAppException(uint32_t nMessageId) {
    throw CAppException(nMessageId);
}

void ThrowAppException(const std::string& text) {
    throw CAppException(text);
}
