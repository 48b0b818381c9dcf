#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/read/energy_file.h"
#include "analysis/read/position_file.h"
#include "analysis/write/trajectory_xyz.h"

// Faults in the run's files, and how they are reported, are tested through the program in
// report_program_test.cpp.
namespace {

TEST(RunFiles, ReadAsWrittenAndFormattedAsExtendedXyz) {
    LineReader energy("80, 8901.29, 9722.25, -820.963, 779.822\r\n", "energy.dat");
    const EnergySample s = readEnergyFile(energy, 1).samples.at(0);
    EXPECT_EQ((std::vector{s.time, s.total, s.kinetic, s.potential, s.temperature}),
              (std::vector{80.0, 8901.29, 9722.25, -820.963, 779.822}));

    // 0.3 ps + 0.04 ps is 339.99999999999994 fs in binary; readers need the decimal point.
    LineReader in(
        "1 2 2\r\n25.1488 25.1488 25.1488\r\n0.3 0.04\r\n0.107594 8.15362 0.702456\r\n"
        "1.23457e-06 0 25.1488\r\n1 2 3\r\n4 5 6\r\n",
        "position.dat");
    PositionFile p = readPositionHeader(in);
    std::string xyz;
    readPositionFrames(in, p, 2, [&](std::size_t frame, std::span<const double> coordinates) {
        appendXyzFrame(xyz, p, frame, coordinates);
    });
    const std::string comment =
        "Lattice=\"25.1488 0.0 0.0 0.0 25.1488 0.0 0.0 0.0 25.1488\" "
        "Properties=species:S:1:pos:R:3 Time=";
    EXPECT_EQ(xyz, "2\n" + comment + "300.0 pbc=\"T T T\"\n" +
                       "Ar 0.107594 8.15362 0.702456\nAr 1.23457e-06 0 25.1488\n" + "2\n" +
                       comment + "340.0 pbc=\"T T T\"\nAr 1 2 3\nAr 4 5 6\n");
    EXPECT_EQ(formatFrameTime(2e12), "2.0e+12");
}

}  // namespace
