#include "analysis/page/viewer_data.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "analysis/page/base64.h"

namespace {

// JSON has no infinity or NaN, and a float none beyond its range.
void requireFinite(double x) {
    if (!std::isfinite(static_cast<float>(x))) {
        throw std::invalid_argument("viewer frames: a number beyond the range of floats");
    }
}

// The shortest text that reads back as the same double.
std::string number(double x) {
    requireFinite(x);
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, x).ptr);
}

std::string float32Bytes(const std::vector<double>& values) {
    std::string bytes;
    bytes.reserve(values.size() * 4);
    for (const double v : values) {
        requireFinite(v);
        const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(v));
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>((bits >> shift) & 0xff);
        }
    }
    return bytes;
}

}  // namespace

std::string viewerJson(const ViewerFrames& f) {
    const std::size_t perFrame = 3 * f.atomCount;
    if (perFrame == 0 || f.positions.empty() || f.positions.size() % perFrame != 0) {
        throw std::invalid_argument("viewer frames: " + std::to_string(f.positions.size()) +
                                    " coordinates are no whole number of frames of " +
                                    std::to_string(f.atomCount) + " atoms");
    }
    return "{\"atoms\": " + std::to_string(f.atomCount) +
           ", \"frames\": " + std::to_string(f.positions.size() / perFrame) + ", \"edge\": [" +
           number(f.edge[0]) + ", " + number(f.edge[1]) + ", " + number(f.edge[2]) +
           "], \"diameter\": " + number(f.atomDiameter) +
           ", \"firstTime\": " + number(f.firstTime) + ", \"interval\": " + number(f.interval) +
           ", \"positions\": \"" + base64(float32Bytes(f.positions)) + "\"}";
}
