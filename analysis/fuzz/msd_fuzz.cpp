// libFuzzer target: msd.dat as its reader takes it, and the fit of D to what it holds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/compute/cell.h"
#include "analysis/compute/single_origin_fit_for_comparison.h"
#include "analysis/fuzz/fuzz_input.h"
#include "analysis/read/msd_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LineReader in(fuzzText(data, size), "msd.dat");
    try {
        const MsdFile msd = readMsdFile(in, 1000);
        std::vector<double> time, values;
        for (const auto& s : msd.samples) {
            time.push_back(picoseconds(s.time));
            values.push_back(s.msd);
        }
        fitSingleOrigin(time, values);
    } catch (const InputError&) {
    }
    return 0;
}
