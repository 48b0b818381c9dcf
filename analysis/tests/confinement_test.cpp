// The report writes only its outputs, only into DIR, whatever DIR is called and whatever it
// holds, runs nothing it was not asked to, and leaves DIR as it was when refused or stopped.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/write/staging.h"
#include "report_fixture.h"
#include "support/program_run.h"

namespace {

using namespace report_test;

// What DIR holds once the report stands: what it held, each output a regular file in place of
// whatever had its name.
std::map<std::string, std::string> withOutputs(std::map<std::string, std::string> tree,
                                               const std::string& dir, const fs::path& root) {
    for (const char* name : kOutputNames) {
        const std::string path = (fs::path(dir) / name).string();
        tree[path] = "file " + readFile(root / path);
    }
    return tree;
}

// A gnuplot that writes nothing but `marker`, then sleeps as itself.
void writeSleepingGnuplot(const fs::path& bin, const fs::path& marker) {
    fs::create_directories(bin);
    std::ofstream(bin / "gnuplot") << "#!/bin/sh\n: > '" << marker.string() << "'\nexec sleep 60\n";
    fs::permissions(bin / "gnuplot", fs::perms::owner_all);
}

// Whether any process has its working directory under `root`.
bool anyProcessWorksUnder(const fs::path& root) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::error_code ec;
        const fs::path cwd = fs::read_symlink(entry.path() / "cwd", ec);
        if (!ec && cwd.string().starts_with(root.string())) {
            return true;
        }
    }
    return false;
}

using ReportConfinement = ReportProgram;

// A DIR whose name would end gnuplot's quoted string and run a command, or open a pipe to a
// shell; with links at the outputs' names into another directory. gnuplot draws the pictures.
TEST_F(ReportConfinement, AnyDirNameRunsNothingAndLinksAreReplacedNotFollowed) {
    const fs::path elsewhere = root / "elsewhere";
    fs::create_directory(elsewhere);
    std::ofstream(elsewhere / "victim") << "untouched";
    for (const std::string dir :
         {"nl/run\nsystem \"touch pwned\"\n#", "|touch pwned2; cat >/dev/null; echo "}) {
        SCOPED_TRACE(dir);
        fs::create_directories(root / dir);
        writeWalkRun(root / dir, 3, 150);
        // Links at the outputs' names, and at the names an older report wrote them under first.
        for (const char* name : {"trajectory.xyz", "energy.png", "trajectory.gif",
                                 "trajectory.xyz.partial", "energy.png.partial"}) {
            fs::create_symlink(elsewhere / "victim", root / dir / name);
        }
        const auto before = treeOf(root);
        EXPECT_EQ(execute(std::string(ARGON_MD_REPORT_PROGRAM) + " '" + dir + "'", root), 0) << err;
        EXPECT_EQ(changes(withOutputs(before, dir, root), treeOf(root)), "");
        EXPECT_TRUE(readFile(root / dir / "energy.png").starts_with("\x89PNG\r\n"));
    }
}

// A stop while gnuplot runs ends gnuplot and the report, and takes the staging directory.
TEST_F(ReportConfinement, AStopLeavesDirAsItWasAndNoProcessBehind) {
    writeWalkRun(run, 3, 150);
    std::ofstream(run / "diffusion.txt") << "an older report's";
    writeSleepingGnuplot(root / "bin", root / "started");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        fs::remove(root / "started");
        const auto before = treeOf(root);
        const pid_t pid = fork();
        if (pid == 0) {
            // Stops that the test itself was started to ignore are not passed on.
            for (const int stop : {SIGINT, SIGTERM, SIGHUP}) std::signal(stop, SIG_DFL);
            setenv("PATH", ((root / "bin").string() + ":/usr/bin:/bin").c_str(), 1);
            if (chdir(run.c_str()) == 0) {
                execl(ARGON_MD_REPORT_PROGRAM, ARGON_MD_REPORT_PROGRAM, ".", nullptr);
            }
            _exit(127);
        }
        for (int waited = 0; waited < 3000 && !fs::exists(root / "started"); ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(fs::exists(root / "started"));
        kill(pid, signal);
        EXPECT_EQ(waitProgram(pid), 128 + signal);
        auto after = treeOf(root);
        after.erase("started");
        EXPECT_EQ(changes(before, after), "");
        EXPECT_FALSE(anyProcessWorksUnder(root));
    }
}

// Staging directories that reports stopped by SIGKILL left: the next report removes those with
// the prefix that belong to this user, hold only what a report writes, and no report is using.
TEST_F(ReportConfinement, ALeftoverStagingDirectoryIsRemovedByTheNextReport) {
    writeWalkRun(run, 3, 150);
    for (const char* name : {".argon-md-report-Left01", ".argon-md-report-notes",
                             ".argon-md-report-other", ".argon-md-report-inUse"}) {
        fs::create_directory(run / name);
        std::ofstream(run / name / "trajectory.xyz") << "part of a trajectory";
    }
    std::ofstream(run / ".argon-md-report-notes" / "notes.txt") << "not the report's";
    ASSERT_EQ(chown((run / ".argon-md-report-other").c_str(), 65534, 65534), 0);
    const int inUse = open((run / ".argon-md-report-inUse").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(inUse, LOCK_EX), 0);
    auto expected = treeOf(root);
    EXPECT_EQ(execute("PATH=/nonexistent " ARGON_MD_REPORT_PROGRAM " ."), 1);  // no gnuplot
    close(inUse);
    EXPECT_TRUE(
        out.starts_with("removed ./.argon-md-report-Left01, the staging directory of a "
                        "report that was stopped\n"))
        << out;
    expected.erase("run/.argon-md-report-Left01");
    expected.erase("run/.argon-md-report-Left01/trajectory.xyz");
    for (const char* name : kOutputNames) {
        if (fs::exists(run / name)) {
            expected["run/" + std::string(name)] = "file " + readFile(run / name);
        }
    }
    EXPECT_EQ(changes(expected, treeOf(root)), "");
}

// A directory that takes an output's name while gnuplot runs, too late to be seen before: the
// outputs already moved into DIR are moved back, and what they replaced is in place again.
TEST_F(ReportConfinement, AFailedCommitPutsBackWhatTheOutputsReplaced) {
    writeWalkRun(run, 3, 150);
    for (const char* name : {"trajectory.xyz", "diffusion.txt", "energy.png"}) {
        std::ofstream(run / name) << "an older report's " << name;
    }
    fs::create_directories(root / "bin");
    std::ofstream(root / "bin" / "gnuplot")
        << "#!/bin/sh\nfor p in energy temperature msd rdf snapshot; do : > $p.png; done\n"
           ": > trajectory.gif\nmkdir ../trajectory.gif\n";
    fs::permissions(root / "bin" / "gnuplot", fs::perms::owner_all);
    auto expected = treeOf(root);
    expected["run/trajectory.gif"] = "dir";
    EXPECT_EQ(
        execute("PATH='" + (root / "bin").string() + ":/usr/bin:/bin' " ARGON_MD_REPORT_PROGRAM),
        1);
    EXPECT_EQ(err,
              "argon-md-report: ./trajectory.gif: cannot be written: a directory has its "
              "name\n");
    EXPECT_EQ(changes(expected, treeOf(root)), "");
}

}  // namespace
