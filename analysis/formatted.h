#pragma once

#include <string>

// printf into a string, for the short lines of reports and plot scripts: longer results are
// cut at 511 bytes.
std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
