// A run whose files or console cannot be written, and a run stopped from outside: the loss is
// reported, and everything else the run writes stays exactly as in a complete run.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "support/program_run.h"
#include "support/run_outputs.h"

namespace fs = std::filesystem;

namespace {

const RunOutputs& complete() {
    return referenceRun(chosenProgram());
}

TEST(FailedWrites, EachLossIsReportedOnceAndEverythingElseIsWrittenInFull) {
    struct Case {
        std::function<void(const fs::path&)> breakIt;
        std::string console;  // where standard output goes; empty: closed
        std::string error;
        std::string RunOutputs::*lost;
    };
    // A console pipe whose reader has gone: nobody will ever read it.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    const Case cases[] = {
        {[](const fs::path& dir) { fs::create_directory(dir / "position.dat"); }, "console.out",
         "argon-md: cannot create position.dat: Is a directory\n", &RunOutputs::position},
        {[](const fs::path& dir) { fs::create_symlink("/dev/full", dir / "energy.dat"); },
         "console.out", "argon-md: cannot write energy.dat: No space left on device\n",
         &RunOutputs::energy},
        {[](const fs::path&) {}, "/dev/full",
         "argon-md: cannot write standard output: No space left on device\n", &RunOutputs::console},
        {[](const fs::path&) {}, "/dev/fd/" + std::to_string(ends[1]),
         "argon-md: cannot write standard output: Broken pipe\n", &RunOutputs::console},
    };
    for (const Case& c : cases) {
        const fs::path dir = makeScratchDirectory();
        c.breakIt(dir);
        expectRunLike(runAndCollect(chosenProgram(), dir, c.console), complete(), c.error, c.lost);
        fs::remove_all(dir);
    }
    ::close(ends[1]);
    // Nor may a closed standard error take the message into a data file.
    const fs::path dir = makeScratchDirectory();
    EXPECT_EQ(runProgram(chosenProgram(), dir, "/dev/full", ""), 1);
    EXPECT_TRUE(collectOutputs(dir).position == complete().position);
    fs::remove_all(dir);
}

// Stopped at any moment, a run leaves each file holding the complete run's first lines and
// nothing else: only whole CR LF lines.
class Interrupted : public ::testing::TestWithParam<int> {};

TEST_P(Interrupted, FilesHoldOnlyCompleteLines) {
    for (int delayMs : {0, 2, 10, 30, 60, 100}) {
        const fs::path dir = makeScratchDirectory();
        const pid_t pid = startProgram(chosenProgram(), dir);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(pid, GetParam());
        const int status = waitProgram(pid);
        expectCompleteLinesOnly(collectOutputs(dir), complete());
        if (status != 0) {  // a run that finished first has nothing to prove here
            EXPECT_EQ(status, 128 + GetParam());
        }
        fs::remove_all(dir);
    }
}

INSTANTIATE_TEST_SUITE_P(Signal, Interrupted, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) {
                             return info.param == SIGINT ? "SIGINT" : "SIGTERM";
                         });

}  // namespace
