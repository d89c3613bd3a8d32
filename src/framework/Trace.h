#pragma once
// Diagnostic trace channel. Lines begin with the function's name, "(): ".
// Silent unless enabled: debug builds, or ZOZI_TRACE set in the environment
// (to "1" for standard error, or to a file path to append to).

#include <functional>
#include <string_view>

bool IsTraceEnabled();
void Trace(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Tests capture the channel; an empty function restores the default.
void SetTraceSink(std::function<void(std::string_view)> sink);

#define ZTRACE(...)                                                                                          \
    do {                                                                                                     \
        if (IsTraceEnabled()) Trace(__VA_ARGS__);                                                            \
    } while (0)
