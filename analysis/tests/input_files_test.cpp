#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "analysis/position_file.h"
#include "analysis/sample_files.h"
#include "analysis/text_input.h"

namespace {

// Two atoms, frames 0.04 ps apart, in the simulation's CR LF lines.
const std::string kHeader = "1 2 3\r\n25.1488 25.1488 25.1488\r\n0 0.04\r\n";
const std::string kFrame = "0.107594 8.15362 0.702456\r\n1.23457e+06 0 -3.5e-05\r\n";

TEST(SplitLines, TakesCrLfOrLfAndSetsAsideAnUnendedLastLine) {
    const TextLines split = splitLines("a b\r\nc\n\r\nhalf");
    ASSERT_EQ(split.lines.size(), 3u);
    EXPECT_EQ(split.lines[0], "a b");
    EXPECT_EQ(split.lines[1], "c");
    EXPECT_EQ(split.lines[2], "");
    EXPECT_TRUE(split.incompleteLastLine);
    EXPECT_FALSE(splitLines("a\r\n").incompleteLastLine);
}

TEST(PositionFile, ReadsHeaderAndKeepsCoordinatesAsWritten) {
    const PositionFile p = parsePositionFile(kHeader + kFrame + kFrame, "position.dat");
    EXPECT_EQ(p.atomCount, 2);
    EXPECT_EQ(p.plannedFrames, 3);
    EXPECT_EQ(p.edgeText[1], "25.1488");
    EXPECT_DOUBLE_EQ(p.edge[2], 25.1488);
    EXPECT_EQ(p.frameCount, 2u);
    ASSERT_EQ(p.atomLines.size(), 4u);
    EXPECT_EQ(p.atomLines[3], "1.23457e+06 0 -3.5e-05");
    EXPECT_DOUBLE_EQ(frameTime(p, 1), 40.0);
    EXPECT_FALSE(p.incompleteLastLine);
}

TEST(SampleFiles, ReadLinesAsTheSimulationWritesThem) {
    const EnergyFile e = parseEnergyFile(
        "0, 189177, 118264, 70912.3, 9485.99\r\n80, 8901.29, 9722.25, -820.963, 779.822\r\n"
        "120, 1",
        "energy.dat");
    ASSERT_EQ(e.samples.size(), 2u);
    EXPECT_TRUE(e.incompleteLastLine);
    EXPECT_DOUBLE_EQ(e.samples[1].total, 8901.29);
    EXPECT_DOUBLE_EQ(e.samples[1].potential, -820.963);
    EXPECT_DOUBLE_EQ(e.samples[1].temperature, 779.822);

    // With and without the separator that ends each line.
    const MsdFile m = parseMsdFile("0,  0.00947347, \r\n40,  0.187266\r\n", "msd.dat");
    ASSERT_EQ(m.samples.size(), 2u);
    EXPECT_DOUBLE_EQ(m.samples[0].msd, 0.00947347);
    EXPECT_DOUBLE_EQ(m.samples[1].time, 40.0);
}

struct BadInput {
    const char* what;
    std::function<void(const std::string&)> parse;
    std::string text;
    std::string expected;  // part of the message, with the file and line
};

TEST(RunFiles, BadInputIsReportedWithFileAndLine) {
    const auto position = [](const std::string& t) { parsePositionFile(t, "p.dat"); };
    const auto energy = [](const std::string& t) { parseEnergyFile(t, "e.dat"); };
    const auto msd = [](const std::string& t) { parseMsdFile(t, "m.dat"); };
    const BadInput cases[] = {
        {"empty file", position, "", "p.dat, line 1: the three-line header ends early"},
        {"not the layout marker", position, "2 2 3\r\n", "p.dat, line 1: expected"},
        {"no atoms", position, "1 0 3\r\n25 25 25\r\n0 0.04\r\n", "p.dat, line 1: the atom"},
        {"text for an edge", position, "1 2 3\r\n25 x 25\r\n0 0.04\r\n",
         "p.dat, line 2: not a number: \"x\""},
        {"no interval", position, "1 2 3\r\n25 25 25\r\n0\r\n", "p.dat, line 3: expected"},
        {"zero interval", position, "1 2 3\r\n25 25 25\r\n0 0\r\n", "p.dat, line 3: the interval"},
        {"two coordinates", position, kHeader + "1 2\r\n", "p.dat, line 4: expected an atom's"},
        {"text coordinate", position, kHeader + "1 2 3\r\n1 2 z\r\n", "p.dat, line 5: not a"},
        {"infinite coordinate", position, kHeader + "1 2 inf\r\n", "p.dat, line 4: not a finite"},
        {"frame cut short", position, kHeader + kFrame + "1 2 3\r\n",
         "p.dat, line 6: frame 2 is cut short after 1 of its 2 atom lines"},
        {"frames beyond the header's count", position, kHeader + kFrame + kFrame + kFrame + kFrame,
         "p.dat, line 10: more frames than the 3"},
        {"four fields", energy, "0, 1, 2, 3, 4\r\n40, 1, 2, 3\r\n", "e.dat, line 2: expected"},
        {"text field", energy, "0, 1, x, 3, 4\r\n", "e.dat, line 1: not a number: \"x\""},
        {"time going back", energy, "40, 1, 2, 3, 4\r\n0, 1, 2, 3, 4\r\n",
         "e.dat, line 2: the time does not increase"},
        {"blank line", msd, "0,  1, \r\n\r\n", "m.dat, line 2: expected"},
        {"extra field", msd, "0,  1, 2\r\n", "m.dat, line 1: expected"},
        {"negative MSD", msd, "0,  -1, \r\n", "m.dat, line 1: a mean squared displacement"},
        {"nan MSD", msd, "0,  nan, \r\n", "m.dat, line 1: not a finite number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.parse(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

}  // namespace
