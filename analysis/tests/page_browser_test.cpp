// report.html in a real browser: Debian's chromium, headless, loads a page made here from a
// file with the network off. The page's own self-check (selfcheck.js, run for #selfcheck)
// reports into the DOM that every picture decoded, that the view of the atoms drew and that a
// drag and a slider move changed it; the browser's log must hold no console message; and a
// screenshot of the first screen is kept in the build tree (ARGON_MD_PAGE_ARTEFACTS).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/page/report_page.h"
#include "support/program_run.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A flat 32 x 20 PNG and a flat 16 x 12 GIF, the colour of the atoms.
const std::string kPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x20\x00\x00"
    "\x00\x14\x08\x02\x00\x00\x00\x63\xf3\xa8\x18\x00\x00\x00\x20\x49\x44\x41\x54\x78\xda\x63"
    "\x30\x48\x38\x40\x53\xc4\x30\x6a\xc1\xa8\x05\xa3\x16\x8c\x5a\x30\x6a\xc1\xa8\x05\xa3\x16"
    "\x10\x83\x00\x2a\x06\x48\x2e\x80\x82\xf3\x2b\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60"
    "\x82",
    89);
const std::string kGif(
    "\x47\x49\x46\x38\x39\x61\x10\x00\x0c\x00\x80\x00\x00\x30\x60\xc0\xff\xff\xff\x2c\x00\x00"
    "\x00\x00\x10\x00\x0c\x00\x00\x02\x0c\x84\x8f\xa9\xcb\xed\x0f\xa3\x9c\xb4\xda\x6b\x0a\x00"
    "\x3b",
    45);

constexpr auto kBrowserTime = std::chrono::seconds(120);  // then it is taken as hung

// Debian's browser on the PATH; empty where it is not installed.
fs::path findChromium() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(start, end - start)) / "chromium";
        if (!candidate.parent_path().empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

// A file URL, every byte but the unreserved ones and '/' percent-encoded.
std::string fileUrl(const fs::path& path) {
    std::string url = "file://";
    for (const unsigned char c : path.string()) {
        if (std::isalnum(c) || std::string_view("/-._~").find(c) != std::string_view::npos) {
            url += static_cast<char>(c);
        } else {
            constexpr char kHex[] = "0123456789ABCDEF";
            url += {'%', kHex[c >> 4], kHex[c & 15]};
        }
    }
    return url;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (auto& s : strings) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// Runs argv[0] with the environment `env`, standard output and error into files, in a process
// group of its own so that, hung past kBrowserTime, it is killed with all its helpers. The exit
// status; -1 when it could not start, was killed or ended by a signal.
int runWithin(std::vector<std::string> argv, std::vector<std::string> env, const fs::path& out,
              const fs::path& log) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, argv[0].c_str(), &files, &attributes,
                                    pointers(argv).data(), pointers(env).data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (started != 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + kBrowserTime;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class PageInBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        chromium = findChromium();
        if (chromium.empty()) {
            GTEST_SKIP() << "chromium is not installed (Debian package chromium), so the page "
                            "is not tested in a browser";
        }
        scratch = makeScratchDirectory();
        fs::create_directories(artefacts);
    }
    void TearDown() override {
        if (!scratch.empty()) fs::remove_all(scratch);
    }

    // Runs headless chromium with a fresh profile and home in the scratch directory, its
    // output and log into files there; its exit status (-1: killed, having hung).
    int browse(const std::vector<std::string>& arguments) {
        std::vector<std::string> argv = {chromium.string(),
                                         "--headless",
                                         "--disable-gpu",
                                         "--no-first-run",
                                         "--disable-background-networking",
                                         "--disable-component-update",
                                         "--disable-sync",
                                         "--disable-quic",
                                         "--enable-logging=stderr",
                                         "--user-data-dir=" + (scratch / "profile").string()};
        if (::geteuid() == 0) argv.push_back("--no-sandbox");  // its sandbox refuses root
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<std::string> env = {"HOME=" + scratch.string()};
        for (char** e = environ; *e != nullptr; ++e) {
            if (!std::string_view(*e).starts_with("HOME=")) env.emplace_back(*e);
        }
        const int status = runWithin(argv, env, scratch / "out", scratch / "log");
        out = readFile(scratch / "out");
        log = readFile(scratch / "log");
        return status;
    }

    // Loads the page with its self-check; what the check wrote, or the whole DOM if nothing.
    std::string selfCheck(const fs::path& page) {
        EXPECT_EQ(
            browse({"--virtual-time-budget=10000", "--dump-dom", fileUrl(page) + "#selfcheck"}), 0)
            << log;
        const auto start = out.rfind("<pre id=\"selfcheck\">");  // the last: the scripts name it
        return start == std::string::npos ? out
                                          : out.substr(start, out.find("</pre>", start) - start);
    }

    // Lines the page wrote to the console (chromium logs them as "...:CONSOLE...").
    std::string consoleLines() const {
        std::string lines;
        for (std::size_t start = 0; start < log.size();) {
            const std::size_t end = std::min(log.find('\n', start), log.size());
            const std::string line = log.substr(start, end - start);
            if (line.find(":CONSOLE") != std::string::npos) lines += line + '\n';
            start = end + 1;
        }
        return lines;
    }

    fs::path chromium, scratch;
    const fs::path artefacts = ARGON_MD_PAGE_ARTEFACTS;
    std::string out, log;
};

// A page as a complete report makes one, from made-up content: all six pictures, the check
// table and a few frames of a few atoms moving across a 20 Å cell.
ReportPage madeUpPage() {
    ReportPage page;
    page.run = {
        "50 argon atoms, Lennard-Jones 12-6 (σ = 3.4 Å, ε/k_B = 121 K), at 700 K in a "
        "cubic cell of 25.1488 Å, 10000 steps of 4 fs",
        "position.dat: 1000 of 1000 frames of 50 atoms, a frame every 0.04 ps"};
    page.diffusion = {"D = 26.8 ± 2.6 Å²/ps = 2.68e-07 ± 2.6e-08 m²/s",
                      "from the MSD averaged over every time origin, fitted over lags 10.96 to "
                      "20 ps (227 lags)"};
    page.rdf = {
        "g(r) over 900 frames from 4 ps: first peak at 3.875 Å (g = 1.20); no distinct "
        "first shell"};
    page.check = {{"D* (reduced)", "4.97 ± 0.48", "4.6 ± 0.2", "+0.7"},
                  {"U/N (ε)", "-0.42 ± 0.01", "-0.43", "+1.0"}};
    page.checkNote = "References: made up for the test of the page.";
    for (const char* name :
         {"energy.png", "temperature.png", "msd.png", "rdf.png", "snapshot.png"}) {
        page.pictures.push_back({name, kPng});
    }
    page.pictures.push_back({"trajectory.gif", kGif});
    ViewerFrames frames{8, {20.0, 20.0, 20.0}, 3.4, 0.0, 0.4, {}};
    for (int f = 0; f < 6; ++f) {
        for (int a = 0; a < 8; ++a) {
            for (int axis = 0; axis < 3; ++axis) {
                const double x = 5.0 + 10.0 * ((a >> axis) & 1) + 1.5 * f * (axis == a % 3);
                frames.positions.push_back(std::fmod(x, 20.0));
            }
        }
    }
    page.viewer = frames;
    return page;
}

void writePage(const fs::path& path, const ReportPage& page) {
    std::ofstream(path, std::ios::binary) << reportPageHtml(page);
}

TEST_F(PageInBrowser, LoadsCleanlyDecodesEveryPictureAndTurnsAndPlaysTheAtoms) {
    const fs::path page = artefacts / "report.html";
    writePage(page, madeUpPage());
    const std::string check = selfCheck(page);
    EXPECT_NE(check.find("ok images: 6 of 6 decoded"), std::string::npos) << check;
    EXPECT_NE(check.find("selfcheck passed"), std::string::npos) << check;
    EXPECT_EQ(consoleLines(), "");

    const fs::path screenshot = artefacts / "first-screen.png";
    fs::remove(screenshot);
    EXPECT_EQ(browse({"--window-size=1000,1200", "--hide-scrollbars",
                      "--screenshot=" + screenshot.string(), fileUrl(page)}),
              0)
        << log;
    EXPECT_TRUE(readFile(screenshot).starts_with("\x89PNG\r\n\x1a\n")) << screenshot;
    EXPECT_EQ(consoleLines(), "");
}

// The checks are no rubber stamp: a picture cut short, an error thrown and a console message,
// put into the page here, are each found.
TEST_F(PageInBrowser, FindsAPictureThatDoesNotDecodeAnErrorAndAConsoleMessage) {
    ReportPage made = madeUpPage();
    made.pictures[2].bytes.resize(40);
    std::string html = reportPageHtml(made);
    html.insert(html.find("</body>"),
                "<script>console.error('made up'); notDefinedAnywhere();</script>\n");
    const fs::path page = scratch / "broken.html";
    std::ofstream(page, std::ios::binary) << html;
    const std::string check = selfCheck(page);
    EXPECT_NE(check.find("FAILED images: 5 of 6 decoded"), std::string::npos) << check;
    // The broken picture's error and the thrown one, in the order the browser raised them.
    EXPECT_NE(check.find("FAILED errors: "), std::string::npos) << check;
    EXPECT_NE(check.find("Uncaught ReferenceError: notDefinedAnywhere"), std::string::npos)
        << check;
    EXPECT_NE(check.find("selfcheck failed"), std::string::npos) << check;
    EXPECT_NE(consoleLines().find("made up"), std::string::npos) << log;
}

}  // namespace
