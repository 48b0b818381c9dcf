// The built program, run in a scratch directory: every value a run is known to print, in both
// arithmetics, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/run_outputs.h"

namespace {

class StatedValues : public ::testing::TestWithParam<BuiltProgram> {
  protected:
    const RunOutputs& run() { return referenceRun(GetParam().path); }
};

TEST_P(StatedValues, ConsoleLogIsTheFixedShiftJisLog) {
    ASSERT_EQ(run().status, 0) << run().errors;
    EXPECT_EQ(run().errors, "");
    const std::vector<std::string> lines = splitCrLfLines(decodeCp932(run().console));
    ASSERT_EQ(lines.size(), 1007u);
    EXPECT_EQ(lines[0], "セルの一辺の長さは、25.1488 です。");
    EXPECT_EQ(lines[1], "28番目の原子位置が重なったので再計算します。");
    EXPECT_EQ(lines[2], "47番目の原子位置が重なったので再計算します。");
    EXPECT_EQ(lines[3], "47番目の原子位置が重なったので再計算します。");
    EXPECT_EQ(lines[4], "50個の原子のランダム配置が完了しました。");
    EXPECT_EQ(lines[5], "原子の初期速度を設定しました。");
    EXPECT_EQ(lines[6], "0step, KE:118264, PE: 70912.3, Tem:9485.99 K+P = 189177");
    EXPECT_EQ(lines[7], "10step, KE:17318.7, PE: 341.187, Tem:1389.13 K+P = 17659.9");
    EXPECT_EQ(lines[8], "20step, KE:9722.25, PE: -820.963, Tem:779.822 K+P = 8901.29");
    for (int sample = 0; sample < 1000; ++sample) {
        const std::string lead = std::to_string(sample * 10) + "step, KE:";
        ASSERT_EQ(lines[6 + sample].compare(0, lead.size(), lead), 0) << lines[6 + sample];
    }
    EXPECT_EQ(lines[1006], "MD計算が全て終了しました。");

    // Every line feed, here and in the files, comes after a carriage return.
    for (const std::string* text : {&run().console, &run().position, &run().energy, &run().msd}) {
        ASSERT_FALSE(text->empty());
        EXPECT_EQ(text->substr(text->size() - 2), "\r\n");
        for (std::size_t at = text->find('\n'); at != std::string::npos;
             at = text->find('\n', at + 1)) {
            ASSERT_TRUE(at > 0 && (*text)[at - 1] == '\r') << "bare line feed at byte " << at;
        }
    }
}

TEST_P(StatedValues, DataFilesHoldTheKnownFirstAndLastLines) {
    const std::vector<std::string> energy = splitCrLfLines(run().energy);
    const std::vector<std::string> msd = splitCrLfLines(run().msd);
    const std::vector<std::string> position = splitCrLfLines(run().position);
    ASSERT_EQ(energy.size(), 1000u);
    ASSERT_EQ(msd.size(), 1000u);
    ASSERT_EQ(position.size(), 50003u);

    EXPECT_EQ(energy[0], "0, 189177, 118264, 70912.3, 9485.99");
    EXPECT_EQ(energy[1], "40, 17659.9, 17318.7, 341.187, 1389.13");
    EXPECT_EQ(energy[2], "80, 8901.29, 9722.25, -820.963, 779.822");
    EXPECT_EQ(msd[0], "0,  0.00947347, ");
    EXPECT_EQ(msd[1], "40,  0.187266, ");
    EXPECT_EQ(msd[2], "80,  0.482709, ");
    EXPECT_EQ(position[0], "1 50 1000");
    EXPECT_EQ(position[1], "25.1488 25.1488 25.1488");
    EXPECT_EQ(position[2], "0 0.04");
    EXPECT_EQ(position[3], "0.107594 8.15362 0.702456");
    EXPECT_EQ(position[4], "8.94591 5.46233 13.5045");
    EXPECT_EQ(position[5], "4.92369 17.6129 23.8891");
    EXPECT_EQ(position[52], "23.6928 11.3752 5.96808");
    EXPECT_EQ(energy.back().rfind("39960, ", 0), 0u);
    EXPECT_EQ(msd.back().rfind("39960,  ", 0), 0u);
    EXPECT_EQ(msd.back().substr(msd.back().size() - 2), ", ");
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, StatedValues, ::testing::ValuesIn(programsByArithmetic()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
