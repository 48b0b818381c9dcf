// libFuzzer target: energy.dat as its reader takes it, for a run of 1000 planned frames.
#include <cstddef>
#include <cstdint>

#include "analysis/fuzz/fuzz_input.h"
#include "analysis/read/energy_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LineReader in(fuzzText(data, size), "energy.dat");
    try {
        readEnergyFile(in, 1000);
    } catch (const InputError&) {
    }
    return 0;
}
