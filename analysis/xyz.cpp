#include "analysis/xyz.h"

#include <cstdio>

std::string formatFrameTime(double fs) {
    char buffer[64];
    // Ten digits keep 0.04 ps × 1000 from showing as 40.000000000000007.
    std::snprintf(buffer, sizeof buffer, "%.10g", fs);
    std::string text = buffer;
    if (text.find('.') == std::string::npos) {
        const auto exponent = text.find('e');
        text.insert(exponent == std::string::npos ? text.size() : exponent, ".0");
    }
    return text;
}

std::string xyzCommentLine(const PositionFile& p, std::size_t frame) {
    const auto& L = p.edgeText;
    return "Lattice=\"" + L[0] + " 0.0 0.0 0.0 " + L[1] + " 0.0 0.0 0.0 " + L[2] +
           "\" Properties=species:S:1:pos:R:3 Time=" + formatFrameTime(frameTime(p, frame)) +
           " pbc=\"T T T\"";
}

std::string formatXyz(const PositionFile& p) {
    const std::size_t atoms = static_cast<std::size_t>(p.atomCount);
    const std::string countLine = std::to_string(atoms) + '\n';
    std::string out;
    out.reserve(p.frameCount * (countLine.size() + 100) + p.atomLines.size() * 32);
    for (std::size_t frame = 0; frame < p.frameCount; ++frame) {
        out += countLine;
        out += xyzCommentLine(p, frame);
        out += '\n';
        for (std::size_t atom = 0; atom < atoms; ++atom) {
            out += "Ar ";
            out += p.atomLines[frame * atoms + atom];
            out += '\n';
        }
    }
    return out;
}
