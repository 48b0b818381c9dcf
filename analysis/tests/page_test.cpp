// report.html's text, without a browser: base64 against RFC 4648, the pictures in the page's
// order, what is left out when absent, and no given text reaching the HTML as markup.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

#include "analysis/page/base64.h"
#include "analysis/page/page_contents.h"
#include "analysis/page/report_page.h"

namespace {

TEST(Base64, GivesTheTestVectorsOfRfc4648AndTheLastTwoCharactersOfTheAlphabet) {
    EXPECT_EQ(base64(""), "");
    EXPECT_EQ(base64("f"), "Zg==");
    EXPECT_EQ(base64("fo"), "Zm8=");
    EXPECT_EQ(base64("foo"), "Zm9v");
    EXPECT_EQ(base64("foob"), "Zm9vYg==");
    EXPECT_EQ(base64("fooba"), "Zm9vYmE=");
    EXPECT_EQ(base64("foobar"), "Zm9vYmFy");
    // Bytes above 127 and zero bytes, and the characters for 62 and 63.
    EXPECT_EQ(base64(std::string("\xfb\xff\x00", 3)), "+/8A");
}

// Finds `part`, failing the test where it is absent; npos then.
std::size_t at(const std::string& html, const std::string& part) {
    const auto found = html.find(part);
    EXPECT_NE(found, std::string::npos) << part;
    return found;
}

TEST(ReportPage, ShowsTheGivenPicturesInItsOwnOrderAndLeavesOutWhatIsAbsent) {
    ReportPage page;
    page.run = {"50 argon atoms at 700 K"};
    // Given out of order; no rdf.png, no check, no viewer.
    for (const char* name :
         {"trajectory.gif", "msd.png", "energy.png", "snapshot.png", "temperature.png"}) {
        page.pictures.push_back({name, std::string("bytes of ") + name});
    }
    const std::string html = reportPageHtml(page);
    const std::size_t energy = at(html, "<section id=\"energy\">");
    const std::size_t temperature = at(html, "<section id=\"temperature\">");
    const std::size_t msd = at(html, "<section id=\"msd\">");
    const std::size_t snapshot = at(html, "<section id=\"snapshot\">");
    const std::size_t trajectory = at(html, "<section id=\"trajectory\">");
    EXPECT_TRUE(at(html, "<section id=\"summary\">") < energy && energy < temperature &&
                temperature < msd && msd < snapshot && snapshot < trajectory);
    EXPECT_EQ(html.find("id=\"rdf\""), std::string::npos);
    EXPECT_EQ(html.find("<table"), std::string::npos);
    EXPECT_EQ(html.find("id=\"atoms\""), std::string::npos);
    EXPECT_EQ(html.find("<dt>Self-diffusion"), std::string::npos);
    // Each picture is its own bytes, with its media type.
    at(html, "<img src=\"data:image/png;base64," + base64("bytes of msd.png") + "\"");
    at(html, "<img src=\"data:image/gif;base64," + base64("bytes of trajectory.gif") + "\"");
    // What a phone and a printer need.
    at(html, "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
    at(html, "@media print");

    page.pictures.push_back({"../rdf.png", "?"});
    EXPECT_THROW(reportPageHtml(page), std::invalid_argument);
}

TEST(ReportPage, EscapesEveryGivenTextAndShowsTheCheckOnlyWhenGiven) {
    const std::string hostile = "<b>&\"'</script>";
    const std::string escaped = "&lt;b&gt;&amp;&quot;&#39;&lt;/script&gt;";
    ReportPage page;
    page.run = {"run " + hostile};
    page.diffusion = {"D " + hostile};
    page.rdf = {"g " + hostile};
    page.check = {{"observable " + hostile, "run " + hostile, "reference " + hostile,
                   "difference " + hostile}};
    page.checkNote = "note " + hostile;
    const std::string html = reportPageHtml(page);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    for (const char* label :
         {"run ", "D ", "g ", "observable ", "reference ", "difference ", "note "}) {
        at(html, label + escaped);
    }
    const std::size_t table = at(html, "<table id=\"check\">");
    EXPECT_LT(at(html, "<th scope=\"row\">observable "), at(html, "</table>"));
    EXPECT_LT(at(html, "<dt>Radial distribution function</dt>"), table);
    // The page's own scripts each close once, at their end.
    std::size_t opened = 0, closed = 0;
    for (auto i = html.find("<script"); i != std::string::npos; i = html.find("<script", i + 1)) {
        ++opened;
    }
    for (auto i = html.find("</script"); i != std::string::npos; i = html.find("</script", i + 1)) {
        ++closed;
    }
    EXPECT_EQ(opened, 2u);
    EXPECT_EQ(closed, 2u);
}

TEST(ViewerFrames, AreLittleEndianFloatsAndWholeFramesOfFiniteNumbers) {
    ReportPage page;
    page.viewer = ViewerFrames{2,    {25.1488, 25.1488, 25.1488},        3.4, 0.0,
                               0.08, {1.0, 2.0, 0.5, 25.1488, -0.0, 3.4}};
    const std::string html = reportPageHtml(page);
    at(html,
       "<script type=\"application/json\" id=\"viewer-data\">{\"atoms\": 2, \"frames\": 1, "
       "\"edge\": [25.1488, 25.1488, 25.1488], \"diameter\": 3.4, \"firstTime\": 0, "
       "\"interval\": 0.08, \"positions\": \"AACAPwAAAEAAAAA/vjDJQQAAAICamVlA\"}</script>");
    at(html, "<canvas id=\"viewer\"");

    page.viewer->positions.pop_back();
    EXPECT_THROW(reportPageHtml(page), std::invalid_argument);
    page.viewer->positions.push_back(1e39);  // beyond a float
    EXPECT_THROW(reportPageHtml(page), std::invalid_argument);
    page.viewer->positions.back() = 1.0;
    page.viewer->interval = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(reportPageHtml(page), std::invalid_argument);
    page.viewer->atomCount = 0;
    EXPECT_THROW(reportPageHtml(page), std::invalid_argument);
}

TEST(ViewerFrames, StrideKeepsAtMostTheMostFramesAndPositionsAndNoFewerThanNeeded) {
    for (std::size_t atoms : {50, 1000, 10000}) {
        const std::size_t most = std::min(kMostViewerFrames, kMostViewerPositions / atoms);
        for (std::size_t frames : {0, 1, 199, 200, 201, 499, 500, 501, 999, 1000, 1001, 60000}) {
            const std::size_t stride = viewerStride(frames, atoms);
            const std::size_t shown = (frames + stride - 1) / stride;
            EXPECT_LE(shown, most) << frames << " frames of " << atoms;
            EXPECT_TRUE(stride == 1 || (frames + stride - 2) / (stride - 1) > most)
                << frames << " frames of " << atoms;
        }
    }
    EXPECT_EQ(viewerStride(1000, 50), 2u);
    EXPECT_EQ(viewerStride(300, 10000), 15u);  // 20 frames of 10,000 atoms
}

}  // namespace
