// The built argon-md and argon-md-report run in a temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/page/base64.h"
#include "headless_chromium.h"
#include "report_fixture.h"
#include "support/program_run.h"

namespace {

using namespace report_test;

// D in Å²/ps as diffusion.txt in `dir` states it; NaN when it states none.
double reportedD(const fs::path& dir) {
    const std::string text = readFile(dir / "diffusion.txt"), label = "D = slope / 6 = ";
    const auto at = text.find(label);
    return at == std::string::npos ? NAN : std::stod(text.substr(at + label.size()));
}

// The report's page in headless chromium, where it is installed: its self-check passes, every
// picture decoded. The page and a screenshot of its first screen are kept in the build tree.
void expectLoadsInChromium(const fs::path& page, const fs::path& scratch) {
    const fs::path chromium = browser_test::findChromium();
    if (chromium.empty()) {
        std::cout << browser_test::kNoChromium << '\n';
        return;
    }
    browser_test::HeadlessChromium browser(chromium, scratch);
    const std::string check = browser.selfCheck(page);
    EXPECT_NE(check.find("ok images: 6 of 6 decoded"), std::string::npos) << check;
    EXPECT_NE(check.find("selfcheck passed"), std::string::npos) << check;
    EXPECT_EQ(browser.consoleLines(), "");
    const fs::path artefacts = ARGON_MD_PAGE_ARTEFACTS;
    fs::create_directories(artefacts);
    fs::copy_file(page, artefacts / "report-of-a-run.html", fs::copy_options::overwrite_existing);
    EXPECT_EQ(browser.screenshot(page, artefacts / "report-of-a-run.png"), 0) << browser.log;
}

TEST_F(ReportProgram, ReportsASimulationRunWholeAndStoppedEarly) {
    ASSERT_EQ(execute(ARGON_MD_PROGRAM), 0) << err;
    ASSERT_EQ(execute(ARGON_MD_REPORT_PROGRAM), 0) << err;
    // The text outputs are pinned by the report of the pinned run (golden/CheckReport.cmake); here
    // the pictures gnuplot draws, and the page that holds them.
    for (const char* picture : {"msd.png", "rdf.png", "snapshot.png"}) {
        EXPECT_TRUE(readFile(run / picture).starts_with("\x89PNG\r\n")) << picture;
    }
    EXPECT_TRUE(readFile(run / "trajectory.gif").starts_with("GIF89a"));
    // Not a word from gnuplot; report.html named first, holding every picture as drawn.
    EXPECT_EQ(err, "");
    EXPECT_EQ(out.find("wrote "), out.find("wrote ./report.html\n")) << out;
    const std::string page = readFile(run / "report.html");
    for (const char* picture : {"energy.png", "temperature.png", "msd.png", "rdf.png",
                                "snapshot.png", "trajectory.gif"}) {
        EXPECT_NE(page.find(";base64," + base64(readFile(run / picture)) + '"'), std::string::npos)
            << picture;
    }
    expectLoadsInChromium(run / "report.html", root);

    // Cut where a stop while writing frame 601 leaves the files: at line ends, with one energy
    // sample more than complete frames. And without gnuplot.
    for (auto [name, lines] :
         {std::pair{"position.dat", 3 + 600 * 50 + 17}, {"energy.dat", 601}, {"msd.dat", 600}}) {
        write(name, firstLines(readFile(run / name), lines));
    }
    fs::remove(run / "diffusion.txt");
    EXPECT_NE(execute("PATH=/nonexistent " ARGON_MD_REPORT_PROGRAM), 0);
    EXPECT_NE(out.find("position.dat: 600 of 1000 frames"), std::string::npos) << out;
    EXPECT_NE(out.find("writing frame 601, so its 17 of 50 atom lines are left out"),
              std::string::npos)
        << out;
    EXPECT_NE(err.find("apt-get install gnuplot-nox"), std::string::npos) << err;
    EXPECT_EQ(lineCount(readFile(run / "trajectory.xyz")), 600 * 52);
    EXPECT_NE(readFile(run / "report.html").find("600 of 1000 frames"), std::string::npos);
    EXPECT_TRUE(reportedD(run) > 10.0 && reportedD(run) < 40.0) << reportedD(run);

    // A disk that filled while the MSD was written: the samples all three files hold.
    write("msd.dat", firstLines(readFile(run / "msd.dat"), 400));
    ASSERT_EQ(execute("PATH=/nonexistent " ARGON_MD_REPORT_PROGRAM), 1);
    EXPECT_NE(out.find("msd.dat is shorter than the other two files, as a full disk leaves it "
                       "(601 energy lines, 600 frames, 400 MSD lines)"),
              std::string::npos)
        << out;
    EXPECT_EQ(lineCount(readFile(run / "trajectory.xyz")), 400 * 52);
    // Or while the frames were written: g(r)'s noise cannot be measured over so few of them.
    write("energy.dat", firstLines(readFile(run / "energy.dat"), 400));
    write("position.dat", firstLines(readFile(run / "position.dat"), 3 + 120 * 50));
    ASSERT_EQ(execute("PATH=/nonexistent " ARGON_MD_REPORT_PROGRAM), 1);
    EXPECT_NE(readFile(run / "rdf.txt").find("its variance taken as Poisson's: too few frames"),
              std::string::npos);
}

// A run stopped before t_eq = 4 ps has no frame to average, one stopped just after it too few
// samples for an error: neither reports an average, and each says why.
TEST_F(ReportProgram, ARunTooShortForTheEquilibrationTimeReportsNoAverages) {
    const std::pair<int, std::vector<const char*>> cases[] = {
        {90,
         {"no diffusion coefficient from the MSD averaged over every time origin: the run is too "
          "short for D: it has no frames from t_eq = 4 ps on",
          "no g(r): no frames from t_eq = 4 ps on",
          "No averages and no comparison: the run has 0 samples from t_eq = 4 ps on"}},
        {105,
         {"g(r) from 4 ps on, 5 frames: ",
          "the run is too short for D: it is 4.16 ps long, and D needs about ",
          "No averages and no comparison: the run has 5 samples from t_eq = 4 ps on, fewer than "
          "the 8 that block averaging needs"}},
    };
    for (const auto& [frames, said] : cases) {
        writeWalkRun(run, 5, frames);
        EXPECT_EQ(execute("PATH=/nonexistent " ARGON_MD_REPORT_PROGRAM), 1) << err;
        for (const char* line : said) {
            EXPECT_NE(out.find(line), std::string::npos) << line << '\n' << out;
        }
        EXPECT_NE(readFile(run / "validation.txt").find(said.back()), std::string::npos);
        EXPECT_TRUE(err.starts_with("argon-md-report: the run is too short for D: it ")) << err;
    }
}

// A run of `samples` samples of one atom, as a run writes it, starting at `start` ps.
struct SmallRun {
    std::string position, energy, msd;
};
SmallRun smallRun(int samples, const std::string& start = "0") {
    SmallRun r{"1 1 " + std::to_string(samples) + "\r\n20 20 20\r\n" + start + " 1\r\n", "", ""};
    for (int i = 1; i <= samples; ++i) {
        const std::string t = std::to_string(i * 1000);
        r.position += "1 2 3\r\n";
        r.energy += t + ", 3, 2, 1, 700\r\n";
        r.msd += t + ",  " + std::to_string(6 * i) + ", \r\n";
    }
    return r;
}

// Two atoms, three frames planned.
const std::string header = "1 2 3\r\n20 20 20\r\n0 0.04\r\n", frame = "1 2 3\r\n4 5 6\r\n";

TEST_F(ReportProgram, BadInputIsRefusedInOneLine) {
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"position.dat", "2 2 3\r\n", "position.dat, line 1: expected \"1 <atoms> <frames>\""},
        {"position.dat", "1 0 3\r\n20 20 20\r\n0 0.04\r\n", "position.dat, line 1: the atom and"},
        {"position.dat", "1 2 3\r\n20 1e200 20\r\n0 0.04\r\n",
         "position.dat, line 2: a cell edge longer"},
        {"position.dat", header + "1 2\r\n", "position.dat, line 4: expected an atom's"},
        {"position.dat", header + frame + "1 2 inf\r\n", "position.dat, line 6: not a finite"},
        {"position.dat", header + frame + frame + frame + frame, "position.dat, line 10: more"},
        {"position.dat", header + frame + "6.1 2 3\r\n4 5 6\r\n",
         "position.dat: atom 0 moves 5.1 Å along x between 0 and 0.04 ps, more than a quarter"},
        // A stray carriage return and a byte-order mark are escaped, not echoed.
        {"energy.dat", "0, 1, 2, 3, 4\r\n40, 1, 2\r3\r\n",
         "energy.dat, line 2: expected \"time, KE+PE, KE, PE, T\", found \"40, 1, 2\\r3\""},
        {"energy.dat",
         "\xEF\xBB\xBF"
         "0, 1, 2, 3, 4\r\n",
         "energy.dat, line 1: not a number: \"\\xEF\\xBB\\xBF0\""},
        {"energy.dat", "0, 1, x, 3, 4\r\n", "energy.dat, line 1: not a number: \"x\""},
        {"energy.dat", "40, 1, 2, 3, 4\r\n0, 1, 2, 3, 4\r\n", "energy.dat, line 2: the time does"},
        {"msd.dat", "0,  1, 2\r\n", "msd.dat, line 1: expected \"time,  MSD, \""},
        // Beyond the faces of the cell, by more than a wrapped coordinate can be.
        {"position.dat", header + "20.001 2 3\r\n4 5 6\r\n",
         "position.dat, line 4: outside the cell, which runs from 0 to 20 Å along x, found "
         "\"20.001 2 3\""},
        {"position.dat", header + "1 2 3\r\n4 5 -1e-300\r\n",
         "position.dat, line 5: outside the cell, which runs from 0 to 20 Å along z"},
        // Four atoms far apart; the second frame lacks atom 0, so the third's atom 0 ends it.
        {"position.dat",
         "1 4 3\r\n20 20 20\r\n0 0.04\r\n1 1 1\r\n11 1 1\r\n1 11 1\r\n11 11 1\r\n"
         "11.1 1 1\r\n1.1 11 1\r\n11.1 11 1\r\n1.2 1 1\r\n11.2 1 1\r\n1.2 11 1\r\n11.2 11 1\r\n",
         "position.dat, line 8: frame 2 is short of 1 line: from here on its lines hold the atoms "
         "from 1 on"},
    };
    // In a valid run stopped after its first frame and the second energy line, so that a second
    // frame is read as far as the unwrapping.
    for (const auto& [file, text, expected] : cases) {
        write("position.dat", header + frame);
        write("energy.dat", "0, 1, 2, 3, 4\r\n40, 1, 2, 3, 4\r\n");
        write("msd.dat", "0,  0, \r\n");
        write(file, text);
        expectRefused("", expected);
    }
    write("position.dat", header + frame);
    expectRefused(" nowhere", "nowhere: no such directory");
    expectRefused(" 'no\nwhere'", "no\\nwhere: no such directory");  // escaped, on one line
    expectRefused(" msd.dat", "msd.dat: not a directory");
    fs::remove(run / "msd.dat");
    expectRefused("", "no msd.dat in .: run argon-md there first");
    fs::remove(run / "position.dat");
    fs::remove(run / "energy.dat");
    expectRefused("", "no position.dat in .: run argon-md there first");
    // A question is answered without a report: nothing is written.
    EXPECT_EQ(execute(ARGON_MD_REPORT_PROGRAM " --version"), 0);
    EXPECT_TRUE(out.starts_with("argon-md-report 1.") && err.empty()) << out << err;
    EXPECT_TRUE(fs::is_empty(run));
}

TEST_F(ReportProgram, AnOutputThatCannotBeWrittenIsRefused) {
    write("position.dat", header + frame);
    write("energy.dat", "0, 1, 2, 3, 4\r\n40, 1, 2, 3, 4\r\n");
    write("msd.dat", "0,  0, \r\n");
    fs::create_directory(run / "trajectory.xyz");
    expectRefused("", "trajectory.xyz: cannot be written: a directory has its name");
    fs::remove(run / "trajectory.xyz");
    fs::create_directory(run / "energy.png");  // gnuplot's picture cannot take its name
    expectRefused("", "energy.png: cannot be written: a directory has its name");
    fs::remove(run / "energy.png");
    // A write that fails, as on a full disk: files are held to 1 KiB, which the trajectory of 14
    // frames passes, and the signal that the limit raises is ignored.
    const SmallRun fourteen = smallRun(14);
    write("position.dat", fourteen.position);
    write("energy.dat", fourteen.energy);
    write("msd.dat", fourteen.msd);
    expectRefused("", "trajectory.xyz: cannot be written: File too large",
                  "trap '' XFSZ; ulimit -f 1; exec " ARGON_MD_REPORT_PROGRAM);
    // The files are written, but a report its reader never got is no success. The fit fails
    // first (one sample), so the reason must outlive gnuplot's start.
    EXPECT_NE(execute("(" ARGON_MD_REPORT_PROGRAM " >/dev/full)"), 0);
    EXPECT_TRUE(err.ends_with("argon-md-report: standard output: No space left on device\n"))
        << err;
}

// Files that are endless, oversized, at odds with each other or with the range of numbers.
TEST_F(ReportProgram, HostileInputIsRefusedAndLeavesNothing) {
    const SmallRun ok = smallRun(14);
    std::string extreme, far = ok.energy;
    for (int i = 1; i <= 14; ++i) {  // a diffusive line whose sums pass the largest number
        extreme += std::to_string(i * 1000) + ", " + std::to_string(i) + "e307, \r\n";
    }
    far.replace(far.find(", 3, 2, 1"), 9, ", 3, 1.7e308, 1");  // kinetic energy, then
    far.replace(far.find(", 3, 2, 1"), 9, ", 3, -1.7e308, 1");
    const std::tuple<std::string, std::string, std::string, const char*> cases[] = {
        // position.dat, energy.dat, msd.dat, message
        {"1 3 6148914691236517205\r\n", ok.energy, ok.msd,
         "position.dat, line 1: more than this report reads"},
        {"1 2000000000 1000\r\n" + ok.position.substr(ok.position.find('\n') + 1), ok.energy,
         ok.msd, "position.dat, line 1: more than this report reads"},
        {"1 1 99999999999999999999\r\n", ok.energy, ok.msd,
         "position.dat, line 1: a whole number too large"},
        {smallRun(14, "1e306").position, ok.energy, ok.msd,
         "position.dat, line 3: the frame times in fs lie beyond the range of numbers"},
        {ok.position, ok.energy, extreme,
         "msd.dat, lines 4 to 14: the least-squares line through them lies beyond"},
        {ok.position, far, ok.msd, "energy.dat, lines 1 and 2: the values are too far apart"},
        {"1 1 3\r20 20 20\r0 1\r1 2 3\r", ok.energy, ok.msd,
         "position.dat, line 1: the line ends in CR alone"},
        {ok.position, "0, 1, 2, 3, 4\r40, 1, 2, 3, 4\r", ok.msd,
         "energy.dat, line 1: the line ends in CR alone"},
        {ok.position, ok.energy, std::string(64 << 20, '1'),
         "msd.dat, line 1: longer than 1024 bytes"},
        {ok.position, ok.energy + "15000, 3, 2, 1, 700\r\n", ok.msd,
         "energy.dat, line 15: more samples than the 14 frames"},
        {ok.position, ok.energy, ok.msd + "15000,  1", "msd.dat, line 15: more samples than"},
        {ok.position + "1 2 3\r\n", ok.energy, ok.msd,
         "position.dat, line 18: more frames than the 14"},
        // Two files short of the third: no stop of a run, no full disk.
        {ok.position, firstLines(ok.energy, 3), firstLines(ok.msd, 2),
         "not the files of one run (energy lines: 3, frames: 14, MSD lines: 2)"},
        {firstLines(ok.position, 3), "1000, 3, 2, 1, 700\r\n", "",
         "no complete sample in position.dat, energy.dat and msd.dat (energy lines: 1, frames: 0"},
    };
    for (const auto& [position, energy, msd, expected] : cases) {
        write("position.dat", position);
        write("energy.dat", energy);
        write("msd.dat", msd);
        expectRefused("", expected);
    }

    // A message longer than any buffer, whole: the directory's name alone is 600 bytes.
    const fs::path deep =
        run / std::string(200, 'a') / std::string(200, 'b') / std::string(200, 'c');
    fs::create_directories(deep);
    std::ofstream(deep / "position.dat", std::ios::binary) << firstLines(ok.position, 3);
    std::ofstream(deep / "energy.dat", std::ios::binary) << "1000, 3, 2, 1, 700\r\n";
    std::ofstream(deep / "msd.dat", std::ios::binary);
    const std::string named = fs::relative(deep, run).string();
    std::string message = named;
    expectRefused(' ' + named, message.append(": no complete sample in position.dat"));
}

// Files that are no regular files, or cannot be read: each is opened without waiting, so a FIFO
// with no writer is refused at once.
TEST_F(ReportProgram, AFileThatIsNoRegularFileIsRefusedWithoutWaiting) {
    const SmallRun ok = smallRun(14);
    write("position.dat", ok.position);
    write("msd.dat", ok.msd);
    const std::pair<void (*)(const fs::path&), const char*> special[] = {
        {[](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, "not a regular file"},
        {[](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, "not a regular file"},
        {[](const fs::path& p) { fs::create_directory(p); }, "not a regular file"},
        {[](const fs::path& p) { fs::create_symlink(p.filename(), p); },
         "Too many levels of symbolic links"},
        // Reading from address 0 of the process fails, as a disk fault does.
        {[](const fs::path& p) { fs::create_symlink("/proc/self/mem", p); },
         "cannot be read: Input/output error"},
    };
    for (const auto& [make, expected] : special) {
        fs::remove_all(run / "energy.dat");
        make(run / "energy.dat");
        expectRefused("", std::string("energy.dat: ") + expected);
    }
}

// What gnuplot says reaches the user only when it fails, and then its last lines, each a line of
// the report's complaint.
TEST_F(ReportProgram, GnuplotIsHeardOnlyWhenItFails) {
    writeWalkRun(run, 3, 150);
    fs::create_directories(root / "bin");
    std::ofstream(root / "bin" / "gnuplot")
        << "#!/bin/sh\necho 'line 3: undefined variable: x' >&2\necho '' >&2\necho said\nexit 1\n";
    fs::permissions(root / "bin" / "gnuplot", fs::perms::owner_all);
    EXPECT_EQ(
        execute("PATH='" + (root / "bin").string() + ":/usr/bin:/bin' " ARGON_MD_REPORT_PROGRAM),
        1);
    EXPECT_EQ(err,
              "argon-md-report: gnuplot failed (exit status 1); no plots written\n"
              "argon-md-report: gnuplot: line 3: undefined variable: x\n"
              "argon-md-report: gnuplot: said\n");
    EXPECT_TRUE(fs::exists(run / "report.html"));
}

// Coordinates on the faces of the cell, and a unit of the sixth digit beyond the far one, where
// printing can leave a wrapped coordinate, are read and reach the trajectory with their digits.
TEST_F(ReportProgram, CoordinatesOnTheFacesAreRead) {
    const std::string frame = "0 20 20.0001\r\n20 -0 10\r\n";
    write("position.dat", "1 2 2\r\n20 20 20\r\n0 0.04\r\n" + frame + frame);
    write("energy.dat", "0, 1, 2, 3, 4\r\n40, 1, 2, 3, 4\r\n");
    write("msd.dat", "0,  0, \r\n40,  0, \r\n");
    EXPECT_EQ(execute("PATH=/nonexistent " ARGON_MD_REPORT_PROGRAM), 1);  // no D, no gnuplot
    EXPECT_EQ(err.find("outside the cell"), std::string::npos) << err;
    EXPECT_NE(readFile(run / "trajectory.xyz").find("Ar 0 20 20.0001\nAr 20 -0 10\n"),
              std::string::npos);
}

}  // namespace
