// libFuzzer target: the whole report of a run directory, without gnuplot. The input holds the
// three files one after the other, position.dat, energy.dat and msd.dat, each ended by a form
// feed (which none of them holds).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "analysis/fuzz/fuzz_input.h"
#include "analysis/read/text_input.h"
#include "analysis/report.h"
#include "analysis/write/staging.h"

namespace {

std::filesystem::path runDirectory;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "argon-md-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    runDirectory = pattern;
    // No gnuplot is found, and the report's lines go nowhere.
    setenv("PATH", "/nonexistent", 1);
    std::cout.rdbuf(nullptr);
    std::atexit([] { std::filesystem::remove_all(runDirectory); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzText(data, size);
    std::size_t start = 0;
    for (const char* name : {"position.dat", "energy.dat", "msd.dat"}) {
        const std::size_t end = std::min(text.find('\f', start), text.size());
        std::ofstream(runDirectory / name, std::ios::binary) << text.substr(start, end - start);
        start = std::min(end + 1, text.size());
    }
    try {
        reportRun(runDirectory, [](const std::string&) {});
    } catch (const InputError&) {
    } catch (const OutputError&) {
    }
    for (const auto& entry : std::filesystem::directory_iterator(runDirectory)) {
        if (entry.path().filename().string().starts_with(kStagingPrefix)) {
            std::abort();  // a staging directory outlived the report
        }
    }
    return 0;
}
