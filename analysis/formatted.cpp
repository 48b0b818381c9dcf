#include "analysis/formatted.h"

#include <cstdarg>
#include <cstdio>

std::string formatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char buffer[512];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}
