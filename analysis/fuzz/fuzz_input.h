#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes libFuzzer hands over, as the text of a file.
inline std::string fuzzText(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}
