// The two arithmetics side by side: identical for the first 51 samples (through step 500), then
// the chaotic motion carries their different roundings into the printed digits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/run_outputs.h"

namespace {

std::vector<std::string> head(const std::string& bytes, std::size_t count) {
    std::vector<std::string> lines = splitCrLfLines(bytes);
    lines.resize(std::min(count, lines.size()));
    return lines;
}

TEST(Arithmetics, AgreeThroughStepFiveHundredAndDifferLater) {
    const auto& programs = programsByArithmetic();
    if (programs.size() < 2) {
        GTEST_SKIP() << "this build has no extended arithmetic";
    }
    const RunOutputs& plain = referenceRun(programs[0].path);
    const RunOutputs& extended = referenceRun(programs[1].path);
    constexpr std::size_t kSamples = 51;  // steps 0, 10, …, 500

    EXPECT_EQ(head(plain.console, 6 + kSamples), head(extended.console, 6 + kSamples));
    EXPECT_EQ(head(plain.energy, kSamples), head(extended.energy, kSamples));
    EXPECT_EQ(head(plain.msd, kSamples), head(extended.msd, kSamples));
    EXPECT_EQ(head(plain.position, 3 + 50 * kSamples), head(extended.position, 3 + 50 * kSamples));

    EXPECT_NE(plain.console, extended.console);
    EXPECT_NE(plain.energy, extended.energy);
    EXPECT_NE(plain.msd, extended.msd);
    EXPECT_NE(plain.position, extended.position);
}

}  // namespace
