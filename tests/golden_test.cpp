// The complete 10000-step run, pinned. Any change to the arithmetic or to the text of the
// output fails here, naming the file and its first line that differs from the pinned run.
//
// The digests hold for x86-64 with glibc (2.36 here): the motion is chaotic, so another
// platform's pow, or another long double, moves the trajectory within a few thousand steps.
// After a deliberate change, ARGON_MD_UPDATE_GOLDEN=1 rewrites the line fingerprints and prints
// the new digests to paste below.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/run_outputs.h"
#include "support/sha256.h"

namespace {

struct PinnedFile {
    const char* name;
    std::string RunOutputs::*bytes;
    const char* digest;  // SHA-256
};

const std::map<std::string, std::vector<PinnedFile>> kPinned = {
    {"double",
     {{"console", &RunOutputs::console,
       "395c77bd72b9c358d14e7da5cc01cb9b87784dba504ce8c5b946ca8241367ca5"},
      {"position.dat", &RunOutputs::position,
       "0cfd683cb19d3ae55c2c292bb381c4404a7621e5c0bed003ec47bed40dfa29f1"},
      {"energy.dat", &RunOutputs::energy,
       "8208a45e8a1b5b541bd37fa7ae48d6a16cec24546d30858f956356a570b3683a"},
      {"msd.dat", &RunOutputs::msd,
       "d46083101d0a1e380dda1f4124a3507103bbff79447433e2ad29bcf24315d614"}}},
    {"extended",
     {{"console", &RunOutputs::console,
       "597550fb884be331e310ab197226d232faf81886d5619d2ccea3a49ea34e0197"},
      {"position.dat", &RunOutputs::position,
       "3107c6c18eb185527b108e5e2ebd6117e388ee42ec970552543dd5bb4abe0cd2"},
      {"energy.dat", &RunOutputs::energy,
       "17b051608b4ed1ebec2f007a2235fdba0e820a1a1372fde0821140db3d7c33f6"},
      {"msd.dat", &RunOutputs::msd,
       "f0808aec9a3ed3efe74333a2980c634bb76f49d34920d74493fc8d6ce58627a1"}}},
};

// A 32-bit fingerprint of each line, enough to find the first line that changed.
std::vector<std::uint32_t> lineFingerprints(const std::string& bytes) {
    std::vector<std::uint32_t> prints;
    for (const std::string& line : splitCrLfLines(bytes)) {
        std::uint32_t hash = 2166136261u;  // FNV-1a
        for (unsigned char c : line) {
            hash = (hash ^ c) * 16777619u;
        }
        prints.push_back(hash);
    }
    return prints;
}

std::string fingerprintPath(const std::string& arithmetic) {
    return std::string(ARGON_MD_GOLDEN_DIR) + "/" + arithmetic + ".lines";
}

// Fingerprints per file name, as stored: a line "name count", then count hex lines.
std::map<std::string, std::vector<std::uint32_t>> readFingerprints(const std::string& path) {
    std::map<std::string, std::vector<std::uint32_t>> files;
    std::ifstream in(path);
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

class GoldenRun : public ::testing::TestWithParam<BuiltProgram> {};

TEST_P(GoldenRun, CompleteRunIsByteForByteThePinnedOne) {
#if !(defined(__x86_64__) && defined(__GLIBC__))
    GTEST_SKIP() << "the pinned run is that of x86-64 with glibc";
#endif
    const std::string& arithmetic = GetParam().arithmetic;
    const RunOutputs& run = referenceRun(GetParam().path);
    ASSERT_EQ(run.status, 0) << run.errors;

    if (std::getenv("ARGON_MD_UPDATE_GOLDEN") != nullptr) {
        std::ofstream out(fingerprintPath(arithmetic));
        for (const PinnedFile& file : kPinned.at(arithmetic)) {
            const std::vector<std::uint32_t> prints = lineFingerprints(run.*file.bytes);
            out << file.name << " " << prints.size() << "\n";
            for (std::uint32_t print : prints) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "%08x\n", print);
                out << hex;
            }
            std::printf("%s %s: %s\n", arithmetic.c_str(), file.name,
                        sha256Hex(run.*file.bytes).c_str());
        }
        GTEST_SKIP() << "fingerprints rewritten";
    }

    const auto stored = readFingerprints(fingerprintPath(arithmetic));
    for (const PinnedFile& file : kPinned.at(arithmetic)) {
        const std::string& bytes = run.*file.bytes;
        if (sha256Hex(bytes) == file.digest) {
            continue;
        }
        const std::vector<std::string> lines = splitCrLfLines(bytes);
        const std::vector<std::uint32_t> now = lineFingerprints(bytes);
        const std::vector<std::uint32_t>& pinned =
            stored.count(file.name) ? stored.at(file.name) : std::vector<std::uint32_t>{};
        std::size_t line = 0;
        while (line < now.size() && line < pinned.size() && now[line] == pinned[line]) {
            ++line;
        }
        ADD_FAILURE() << arithmetic << " run: " << file.name
                      << " differs from the pinned run, first at line " << line + 1 << ": \""
                      << (line < lines.size() ? lines[line] : "<missing>") << "\" (" << lines.size()
                      << " lines, pinned " << pinned.size() << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, GoldenRun, ::testing::ValuesIn(programsByArithmetic()),
                         [](const auto& info) { return info.param.arithmetic; });

}  // namespace
