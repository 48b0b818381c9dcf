#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "analysis/output_file.h"
#include "analysis/position_file.h"
#include "analysis/xyz.h"

namespace {

TEST(Xyz, FrameTimeAlwaysHasADecimalPoint) {
    EXPECT_EQ(formatFrameTime(0.0), "0.0");
    EXPECT_EQ(formatFrameTime(40.0), "40.0");
    EXPECT_EQ(formatFrameTime(1.5), "1.5");
    EXPECT_EQ(formatFrameTime(2e12), "2.0e+12");
    // 999 intervals of 0.04 ps do not land exactly on 39960 fs in binary.
    const PositionFile p = parsePositionFile("1 1 1000\n9 9 9\n0 0.04\n", "position.dat");
    EXPECT_EQ(formatFrameTime(frameTime(p, 999)), "39960.0");
}

TEST(Xyz, FramesHaveCountCommentAndAtomLines) {
    const PositionFile p = parsePositionFile(
        "1 2 2\r\n25.1488 25.1488 25.1488\r\n0 0.04\r\n0.107594 8.15362 0.702456\r\n"
        "1.23457e+06 0 -3.5e-05\r\n1 2 3\r\n4 5 6\r\n",
        "position.dat");
    const std::string comment =
        "Lattice=\"25.1488 0.0 0.0 0.0 25.1488 0.0 0.0 0.0 25.1488\" "
        "Properties=species:S:1:pos:R:3 Time=";
    EXPECT_EQ(formatXyz(p), "2\n" + comment + "0.0 pbc=\"T T T\"\n" +
                                "Ar 0.107594 8.15362 0.702456\nAr 1.23457e+06 0 -3.5e-05\n" +
                                "2\n" + comment + "40.0 pbc=\"T T T\"\nAr 1 2 3\nAr 4 5 6\n");
}

class AtomicWrite : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "xyz-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(AtomicWrite, FailedWriteLeavesNoPartialFile) {
    std::filesystem::create_symlink("/dev/full", partialPath(dir / "full.txt"));
    EXPECT_THROW(writeFileAtomically(dir / "full.txt", std::string(1 << 16, 'x')),
                 std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir / "full.txt"));
    EXPECT_FALSE(std::filesystem::is_symlink(partialPath(dir / "full.txt")));
}

}  // namespace
