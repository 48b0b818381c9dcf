// The complete 10000-step runs, pinned: golden/<run>.lines holds a 32-bit fingerprint of every
// line of the console log and the three files, so that any change to the arithmetic or to the
// text of the output fails here, naming the file and its first line that differs. After a
// deliberate change, ARGON_MD_UPDATE_GOLDEN=1 rewrites the fingerprints (and `sha256sum
// console.log *.dat` in a run directory the digests in golden/<run>.sha256, which the build's
// `digests` tests check as a user would, with `sha256sum -c`).
//
// With the correctly rounded powers the runs are the same on every machine. With the C library's
// pow they hold for glibc's pow built with FMA (glibc 2.36 on x86-64 here): the motion is chaotic,
// so another pow moves the trajectory within a few thousand steps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/run_outputs.h"

namespace {

struct OutputFile {
    const char* name;  // as the run preset leaves it
    std::string RunOutputs::*bytes;
};
constexpr OutputFile kFiles[] = {{"console.log", &RunOutputs::console},
                                 {"position.dat", &RunOutputs::position},
                                 {"energy.dat", &RunOutputs::energy},
                                 {"msd.dat", &RunOutputs::msd}};

// FNV-1a of each line.
std::vector<std::uint32_t> lineFingerprints(const std::string& bytes) {
    std::vector<std::uint32_t> prints;
    for (const std::string& line : splitCrLfLines(bytes)) {
        std::uint32_t hash = 2166136261u;
        for (unsigned char c : line) {
            hash = (hash ^ c) * 16777619u;
        }
        prints.push_back(hash);
    }
    return prints;
}

std::string goldenPath(const std::string& run) {
    return std::string(ARGON_MD_GOLDEN_DIR) + "/" + run + ".lines";
}

// Per file name, as stored: a line "name count", then count hex lines.
std::map<std::string, std::vector<std::uint32_t>> readFingerprints(const std::string& run) {
    std::map<std::string, std::vector<std::uint32_t>> files;
    std::ifstream in(goldenPath(run));
    std::string name;
    std::size_t count = 0;
    while (in >> name >> count) {
        std::vector<std::uint32_t>& prints = files[name];
        for (std::size_t i = 0; i < count && in; ++i) {
            std::uint32_t value = 0;
            in >> std::hex >> value >> std::dec;
            prints.push_back(value);
        }
    }
    return files;
}

void writeFingerprints(const std::string& run, const RunOutputs& outputs) {
    std::ofstream out(goldenPath(run));
    for (const OutputFile& file : kFiles) {
        const std::vector<std::uint32_t> prints = lineFingerprints(outputs.*file.bytes);
        out << file.name << " " << prints.size() << "\n";
        for (std::uint32_t print : prints) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%08x\n", print);
            out << hex;
        }
    }
}

// Whether the C library's pow is glibc's built with FMA, from a power that its build without FMA
// rounds otherwise: 191^7 2^-56 lies exactly on a midpoint.
bool powIsGlibcWithFma() {
#if defined(__x86_64__) && defined(__GLIBC__)
    volatile double s = 0x1.7ep-1;  // not folded by the compiler
    return std::pow(s, 7.0) == 0x1.079005ddc1a9fp-3;
#else
    return false;
#endif
}

// One program's complete run against the pinned one of the same name.
void expectPinnedRun(const BuiltProgram& program) {
    const RunOutputs& run = referenceRun(program.path);
    ASSERT_EQ(run.status, 0) << run.errors;
    if (std::getenv("ARGON_MD_UPDATE_GOLDEN") != nullptr) {
        writeFingerprints(program.name, run);
        GTEST_SKIP() << "fingerprints rewritten";
    }
    const auto stored = readFingerprints(program.name);
    for (const OutputFile& file : kFiles) {
        const std::vector<std::uint32_t> now = lineFingerprints(run.*file.bytes);
        const std::vector<std::uint32_t> pinned =
            stored.count(file.name) ? stored.at(file.name) : std::vector<std::uint32_t>{};
        if (now == pinned) {
            continue;
        }
        std::size_t line = 0;
        while (line < now.size() && line < pinned.size() && now[line] == pinned[line]) {
            ++line;
        }
        const std::vector<std::string> lines = splitCrLfLines(run.*file.bytes);
        ADD_FAILURE() << program.name << " run: " << file.name
                      << " differs from the pinned run, first at line " << line + 1 << ": \""
                      << (line < lines.size() ? lines[line] : "<missing>") << "\" (" << lines.size()
                      << " lines, pinned " << pinned.size() << ")";
    }
}

class GoldenRun : public ::testing::TestWithParam<BuiltProgram> {};

TEST_P(GoldenRun, CompleteRunIsByteForByteThePinnedOne) {
    expectPinnedRun(GetParam());
}

INSTANTIATE_TEST_SUITE_P(RoundedPowers, GoldenRun, ::testing::ValuesIn(programsByArithmetic()),
                         [](const auto& info) { return info.param.name; });

class GoldenLibmRun : public ::testing::TestWithParam<BuiltProgram> {};

TEST_P(GoldenLibmRun, CompleteRunIsByteForByteThePinnedOne) {
    if (!powIsGlibcWithFma()) {
        GTEST_SKIP() << "the pinned runs with the C library's pow are those of glibc's pow built "
                        "with FMA on x86-64; this pow is another, so its runs differ";
    }
    expectPinnedRun(GetParam());
}

INSTANTIATE_TEST_SUITE_P(LibmPowers, GoldenLibmRun, ::testing::ValuesIn(libmProgramsByArithmetic()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
