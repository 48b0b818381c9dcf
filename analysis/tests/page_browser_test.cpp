// report.html in a real browser (headless_chromium.h), made here from made-up content: it loads
// with no console message, every picture decoded and the view of the atoms drawn, turned and
// played; and the checks find a page that fails them. A screenshot of the first screen is kept
// in the build tree (ARGON_MD_PAGE_ARTEFACTS).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "analysis/page/report_page.h"
#include "headless_chromium.h"
#include "support/program_run.h"

namespace {

using namespace browser_test;

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

class PageInBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path chromium = findChromium();
        if (chromium.empty()) {
            GTEST_SKIP() << kNoChromium;
        }
        scratch = makeScratchDirectory();
        fs::create_directories(artefacts);
        browser.emplace(chromium, scratch);
    }
    void TearDown() override {
        if (!scratch.empty()) fs::remove_all(scratch);
    }

    fs::path scratch;
    const fs::path artefacts = ARGON_MD_PAGE_ARTEFACTS;
    std::optional<HeadlessChromium> browser;
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
    const std::string check = browser->selfCheck(page);
    EXPECT_NE(check.find("ok images: 6 of 6 decoded"), std::string::npos) << check;
    EXPECT_NE(check.find("selfcheck passed"), std::string::npos) << check;
    EXPECT_EQ(browser->consoleLines(), "");

    const fs::path screenshot = artefacts / "first-screen.png";
    EXPECT_EQ(browser->screenshot(page, screenshot), 0) << browser->log;
    EXPECT_TRUE(readFile(screenshot).starts_with("\x89PNG\r\n\x1a\n")) << screenshot;
    EXPECT_EQ(browser->consoleLines(), "");
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
    const std::string check = browser->selfCheck(page);
    EXPECT_NE(check.find("FAILED images: 5 of 6 decoded"), std::string::npos) << check;
    // The broken picture's error and the thrown one, in the order the browser raised them.
    EXPECT_NE(check.find("FAILED errors: "), std::string::npos) << check;
    EXPECT_NE(check.find("Uncaught ReferenceError: notDefinedAnywhere"), std::string::npos)
        << check;
    EXPECT_NE(check.find("selfcheck failed"), std::string::npos) << check;
    EXPECT_NE(browser->consoleLines().find("made up"), std::string::npos) << browser->log;
}

}  // namespace
