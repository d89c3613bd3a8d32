#pragma once
// The program's own exception: a message id from the string table, or a text
// composed elsewhere (for example a codec library's error text).

#include "framework/CException.h"

#include <cstdint>
#include <string>

class CAppException : public CException {
    DECLARE_DYNAMIC(CAppException)
public:
    static constexpr uint32_t kNoMessageId = 0xFFFFFFFF;
    static constexpr size_t kMaxText = 511;

    explicit CAppException(uint32_t nMessageId) : m_nMessageId(nMessageId) {}
    explicit CAppException(const std::string& text);
    ZOZI_EXCEPTION_COPYABLE(CAppException)

    uint32_t m_nMessageId;
    std::string m_strText; // empty when the id is used; at most kMaxText bytes
};

[[noreturn]] void ThrowAppException(uint32_t nMessageId);
[[noreturn]] void ThrowAppException(const std::string& text);
