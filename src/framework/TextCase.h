#pragma once
// Upper and lower case of ASCII letters, as file names and extensions are
// compared; other bytes (UTF-8 included) stay as they are.

#include <cctype>
#include <string>
#include <string_view>

inline std::string ToUpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

inline std::string ToLowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
