// libFuzzer target: msd.dat as its reader takes it, and the fit of D to what it holds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/diffusion.h"
#include "analysis/fuzz/fuzz_input.h"
#include "analysis/sample_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LineReader in(fuzzText(data, size), "msd.dat");
    try {
        const MsdFile msd = readMsdFile(in, 1000);
        std::vector<double> time, values;
        for (const auto& s : msd.samples) {
            time.push_back(s.time / kFsPerPs);
            values.push_back(s.msd);
        }
        fitDiffusion(time, values);
    } catch (const InputError&) {
    }
    return 0;
}
