#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// printf into a string, of any length. The C99 printf of the C library (mingw-w64's own on
// Windows, not the system's), so %zu and the rounding of %g are the same everywhere.
// clang, which builds the fuzz targets, knows the C99 checks as plain printf.
#if defined(__clang__)
std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
#else
std::string formatted(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
#endif

// `text` as a message may show it on a terminal: control characters, bytes that are not UTF-8
// and the invisible characters that reorder or hide text (a byte-order mark, say) are written
// as escapes, \n, \r, \t or \xEF for each of their bytes; everything else passes unchanged.
// Printable text passes unchanged, so escaping twice changes nothing.
std::string printable(std::string_view text);

// A path as messages name it, in UTF-8 (the bytes of the name on POSIX systems).
std::string displayed(const std::filesystem::path& path);
