// The text of every number and line the run writes.
#include "report/line_sink.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::string readBack(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        text.push_back(static_cast<char>(c));
    }
    std::fclose(file);
    return text;
}

TEST(NumberText, DoublesAreSixSignificantDigitsAsFormattedOutputGivesThem) {
    // Ties, exponent boundaries, signed zero and the extremes first, then random bit patterns,
    // half of them of the magnitudes a run prints.
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
    std::string expected;
    {
        LineSink sink(file, "test");
        for (double value : values) {
            sink << value << "|";
            char text[64];
            std::snprintf(text, sizeof text, "%.6g|", value);
            expected += text;
        }
    }
    EXPECT_EQ(readBack(file), expected);
}

TEST(NumberText, LinesEndWithCarriageReturnAndLineFeedAndIntegersArePlain) {
    std::FILE* file = std::tmpfile();
    {
        LineSink sink(file, "test");
        sink << 0 << "step" << -42 << " " << 2147483647 << " " << -0.0 << " " << 1234567.0;
        sink.endLine();
        sink.endLine();
    }
    EXPECT_EQ(readBack(file), "0step-42 2147483647 -0 1.23457e+06\r\n\r\n");
}

}  // namespace
