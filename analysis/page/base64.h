#pragma once

#include <string>
#include <string_view>

// The bytes in base64 (RFC 4648, section 4: the standard alphabet, padded with '=', no line
// breaks), as data URLs and the viewer's frames carry them.
std::string base64(std::string_view bytes);
