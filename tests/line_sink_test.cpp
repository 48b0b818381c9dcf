// The text of every number the run writes, and the lines a stop leaves whole.
#include "report/line_sink.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "report/held_interrupts.h"

namespace {

TEST(NumberText, DoublesAreSixSignificantDigitsAsFormattedOutputGivesThem) {
    // Ties, exponent boundaries, signed zero and the extremes first, then random bit patterns,
    // half of them of the magnitudes a run prints; and the integers, plain.
    std::vector<double> values = {0.0,       -0.0,     0.5,       700.0,
                                  25.148782, 1e-05,    0.0001,    123456.0,
                                  1234567.0, 999999.5, 9999995.0, 6.02e23,
                                  -820.963,  0.04,     2.5e-324,  1.7976931348623157e308};
    std::mt19937_64 bits(12345);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t pattern = bits();
        double value = std::bit_cast<double>(pattern);
        if (i % 2 == 0) {
            value = std::ldexp(std::fmod(std::abs(value), 1.0) + 0.5, int(pattern % 60) - 30);
        }
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    std::FILE* file = std::tmpfile();
    std::string expected = "0 -42 2147483647\r\n";
    {
        LineSink sink(file, "test");
        sink << 0 << " " << -42 << " " << 2147483647;
        sink.endLine();
        for (double value : values) {
            sink << value << "|";
            char text[64];
            std::snprintf(text, sizeof text, "%.6g|", value);
            expected += text;
        }
    }
    std::rewind(file);
    std::string written(expected.size() + 1, '\0');
    written.resize(std::fread(written.data(), 1, written.size(), file));
    std::fclose(file);
    EXPECT_EQ(written, expected);
}

// A stop that arrives while a sample's lines are written takes effect after them.
TEST(HeldInterrupts, AStopWaitsUntilTheLinesAreWritten) {
#ifndef _WIN32
    static volatile std::sig_atomic_t received = 0;
    std::signal(SIGTERM, [](int) { received = 1; });
    {
        const HeldInterrupts untilWritten;
        std::raise(SIGTERM);
        EXPECT_EQ(received, 0);
    }
    EXPECT_EQ(received, 1);
    std::signal(SIGTERM, SIG_DFL);
#endif
}

}  // namespace
