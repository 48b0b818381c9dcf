#pragma once

#include <string>

// printf into a string, for the short lines of reports and plot scripts: longer results are
// cut at 511 bytes. The C99 printf of the C library (mingw-w64's own on Windows, not the
// system's), so %zu and the rounding of %g are the same everywhere.
// clang, which builds the fuzz targets, knows the C99 checks as plain printf.
#if defined(__clang__)
std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
#else
std::string formatted(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
#endif
