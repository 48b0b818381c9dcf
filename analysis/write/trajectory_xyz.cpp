#include "analysis/write/trajectory_xyz.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "analysis/write/staging.h"

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
           "\" Properties=species:S:1:pos:R:3 Time=" +
           formatFrameTime(femtoseconds(frameTime(p.clock, frame))) + " pbc=\"T T T\"";
}

void appendXyzFrame(std::string& out, const PositionFile& p, std::size_t frame,
                    std::span<const double> xyz) {
    out += std::to_string(p.atomCount);
    out += '\n';
    out += xyzCommentLine(p, frame);
    out += '\n';
    char line[96];
    for (std::size_t i = 0; i + 2 < xyz.size(); i += 3) {
        const int length =
            std::snprintf(line, sizeof line, "Ar %.6g %.6g %.6g\n", xyz[i], xyz[i + 1], xyz[i + 2]);
        out.append(line, static_cast<std::size_t>(length));
    }
}

void addFrame(XyzWriter& writer, const PositionFile& positions, std::size_t frame,
              std::span<const double> xyz) {
    writer.frameText.clear();
    appendXyzFrame(writer.frameText, positions, frame, xyz);
    errno = 0;
    const std::string& text = writer.frameText;
    if (std::fwrite(text.data(), 1, text.size(), writer.stream) != text.size()) {
        cannotWrite(writer.name, std::strerror(errno));
    }
}
