// The built program asked a question, or given an argument it does not take, in a directory
// holding an earlier run's files: it answers or refuses, and touches none of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/run_outputs.h"

namespace {

const std::string kRefusal = "argon-md takes no arguments; see argon-md --help\n";

// Plain ASCII, every line ended by CR LF.
bool isAsciiCrLfText(const std::string& text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80 || (byte == '\n' && (at == 0 || text[at - 1] != '\r'))) {
            return false;
        }
    }
    return text.ends_with("\r\n");
}

TEST(Arguments, AreAnsweredOrRefusedAndNoFileIsTouched) {
    const std::vector<std::string> help = {"position.dat",
                                           "energy.dat",
                                           "msd.dat",
                                           "truncating any earlier run's files",
                                           "argon-md | iconv -f CP932 -t UTF-8",
                                           "build/release/analysis/argon-md-report"};
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::vector<std::string> saying;  // found in standard output; none: it stays empty
        std::string errors;               // standard error, exactly
    } cases[] = {
        {{"--help"}, 0, help, ""},
        {{"-h"}, 0, help, ""},
        {{"--version"}, 0, {"argon-md " ARGON_MD_VERSION "\r\n"}, ""},
        {{"run1/"}, 2, {}, kRefusal},
        {{"-o", "out"}, 2, {}, kRefusal},
        {{"--help", "--version"}, 2, {}, kRefusal},
        {{""}, 2, {}, kRefusal},
    };
    for (const auto& c : cases) {
        const std::string asked = ::testing::PrintToString(c.arguments);
        const Answer answer = askProgram(chosenProgram(), c.arguments);
        EXPECT_EQ(answer.status, c.status) << asked;
        EXPECT_EQ(answer.errors, c.errors) << asked;
        EXPECT_TRUE(answer.untouched) << asked;
        EXPECT_TRUE(c.saying.empty() ? answer.output.empty() : isAsciiCrLfText(answer.output))
            << asked << answer.output;
        for (const std::string& words : c.saying) {
            EXPECT_TRUE(answer.output.find(words) != std::string::npos)
                << asked << " does not say " << words;
        }
    }
    EXPECT_EQ(askProgram(chosenProgram(), {"-h"}).output,
              askProgram(chosenProgram(), {"--help"}).output);
}

// --version names the build's arithmetic, powers and force kernel, as each program was built.
TEST(Arguments, VersionNamesHowTheBuildComputes) {
    std::vector<std::pair<std::string, std::string>> builds = {
        {ARGON_MD_PROGRAM_DOUBLE_REFERENCE_LIBM, "double\r\npower: libm\r\nkernel: reference"}};
    for (const BuiltProgram& program : programsByArithmetic()) {
        builds.emplace_back(program.path, program.name + "\r\npower: exact\r\nkernel: fast");
    }
    for (const auto& [program, choices] : builds) {
        const Answer answer = askProgram(program, {"--version"});
        EXPECT_EQ(answer.status, 0) << program;
        EXPECT_EQ(answer.output,
                  "argon-md " ARGON_MD_VERSION "\r\narithmetic: " + choices + "\r\n");
    }
}

// A question whose answer cannot be written is reported as the run's console is, and fails.
TEST(Arguments, AnAnswerThatCannotBeWrittenIsReported) {
    const std::filesystem::path directory = makeScratchDirectory();
    EXPECT_EQ(runProgram(chosenProgram(), directory, "/dev/full", "error.out", {"--help"}), 1);
    EXPECT_EQ(readFile(directory / "error.out"),
              "argon-md: cannot write standard output: No space left on device\n");
    std::filesystem::remove_all(directory);
}

}  // namespace
