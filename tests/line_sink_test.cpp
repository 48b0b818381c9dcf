// The text of every number and line the run writes, and what happens when a write fails.
#include "report/line_sink.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

namespace {

std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        text.append(chunk, n);
    }
    return text;
}

std::string printfText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

TEST(NumberText, DoublesAreWrittenAsSixSignificantDigitsInTheShortestForm) {
    const double cases[] = {0.0,
                            -0.0,
                            0.5,
                            700.0,
                            25.148782,
                            1e-05,
                            0.0001,
                            0.00012345,
                            123456.0,
                            1234567.0,
                            999999.5,
                            9999995.0,
                            6.02e23,
                            1e100,
                            -820.963,
                            0.04,
                            1.6705865e-21,
                            2.5e-324,
                            1.7976931348623157e308,
                            0.000099999951,
                            189177.3};
    std::FILE* file = std::tmpfile();
    {
        LineSink sink(file, "test");
        for (double value : cases) {
            sink << value << "|";
        }
    }
    std::string expected;
    for (double value : cases) {
        expected += printfText(value) + "|";
    }
    EXPECT_EQ(readAll(file), expected);
    std::fclose(file);
    EXPECT_EQ(printfText(-0.0), "-0");
    EXPECT_EQ(printfText(1234567.0), "1.23457e+06");
}

TEST(NumberText, AgreesWithFormattedOutputOnRandomBitPatterns) {
    std::mt19937_64 bits(12345);
    std::FILE* file = std::tmpfile();
    std::string expected;
    {
        LineSink sink(file, "test");
        for (int i = 0; i < 20000; ++i) {
            double value;
            const std::uint64_t pattern = bits();
            std::memcpy(&value, &pattern, sizeof value);
            if (!std::isfinite(value)) {
                continue;
            }
            // Half of the draws from the magnitudes a run prints.
            if (i % 2 == 0) {
                value = std::ldexp(std::fmod(std::abs(value), 1.0) + 0.5, int(pattern % 60) - 30);
            }
            sink << value << "\n";
            expected += printfText(value) + "\n";
        }
    }
    EXPECT_EQ(readAll(file), expected);
    std::fclose(file);
}

TEST(LineSink, LinesEndWithCarriageReturnAndLineFeedAndIntegersArePlain) {
    std::FILE* file = std::tmpfile();
    {
        LineSink sink(file, "test");
        sink << 0 << "step" << -42 << " " << 2147483647;
        sink.endLine();
        sink.endLine();
    }
    EXPECT_EQ(readAll(file), "0step-42 2147483647\r\n\r\n");
    std::fclose(file);
}

TEST(LineSink, FileThatCannotBeCreatedOrWrittenIsReportedOnceAndSkipped) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("argon-md-sink-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "taken.dat");
    std::filesystem::create_symlink("/dev/full", dir / "full.dat");

    ::testing::internal::CaptureStderr();
    LineSink directory((dir / "taken.dat").c_str());
    LineSink full((dir / "full.dat").c_str());
    for (int i = 0; i < 3; ++i) {
        directory << 1.5 << " text";
        directory.endLine();
        full << 1.5 << " text";
        full.endLine();
    }
    directory.close();
    full.close();
    const std::string errors = ::testing::internal::GetCapturedStderr();

    EXPECT_TRUE(directory.failed());
    EXPECT_TRUE(full.failed());
    EXPECT_EQ(errors, "argon-md: cannot create " + (dir / "taken.dat").string() +
                          ": Is a directory\n"
                          "argon-md: cannot write " +
                          (dir / "full.dat").string() + ": No space left on device\n");
    std::filesystem::remove_all(dir);
}

TEST(LineSink, WrittenFileHoldsEveryLineAfterClose) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("argon-md-lines-" + std::to_string(::getpid()));
    {
        LineSink sink(path.c_str());
        for (int i = 0; i < 1000; ++i) {
            sink << i << ", " << 0.25 * i;
            sink.endLine();
        }
        sink.close();
        EXPECT_FALSE(sink.failed());
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    const std::string text = readAll(file);
    std::fclose(file);
    std::filesystem::remove(path);
    EXPECT_EQ(text.substr(0, 15), "0, 0\r\n1, 0.25\r\n");
    EXPECT_EQ(text.substr(text.size() - 13), "999, 249.75\r\n");
}

}  // namespace
