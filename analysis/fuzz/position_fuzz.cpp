// libFuzzer target: position.dat as its reader takes it, frames handed over into the trajectory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/fuzz/fuzz_input.h"
#include "analysis/read/position_file.h"
#include "analysis/write/trajectory_xyz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LineReader in(fuzzText(data, size), "position.dat");
    try {
        PositionFile p = readPositionHeader(in);
        std::string xyz;
        readPositionFrames(in, p, static_cast<std::size_t>(p.plannedFrames),
                           [&](std::size_t frame, std::span<const double> coordinates) {
                               xyz.clear();
                               appendXyzFrame(xyz, p, frame, coordinates);
                           });
    } catch (const InputError&) {
    }
    return 0;
}
