#include "framework/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
std::function<void(std::string_view)>& Sink() {
    static std::function<void(std::string_view)> s_sink;
    return s_sink;
}

const char* TraceTarget() {
    static const char* s_target = [] {
        const char* v = std::getenv("ZOZI_TRACE");
        if (v && *v && std::string_view(v) != "0") return v;
#ifndef NDEBUG
        return "1";
#else
        return static_cast<const char*>(nullptr);
#endif
    }();
    return s_target;
}
} // namespace

bool IsTraceEnabled() {
    return Sink() || TraceTarget();
}

void SetTraceSink(std::function<void(std::string_view)> sink) {
    Sink() = std::move(sink);
}

void Trace(const char* fmt, ...) {
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    if (n < 0) return;
    std::string_view line(buf, std::min<size_t>(static_cast<size_t>(n), sizeof buf - 1));
    if (Sink()) {
        Sink()(line);
        return;
    }
    const char* target = TraceTarget();
    if (!target) return;
    if (std::string_view(target) == "1") {
        std::fwrite(line.data(), 1, line.size(), stderr);
    } else if (FILE* f = std::fopen(target, "a")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}
