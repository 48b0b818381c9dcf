// report.html in a real browser: Debian's chromium, headless, loads a page from a file with the
// network off. The page's own self-check (selfcheck.js, run for #selfcheck) reports into the DOM
// that every picture decoded, that the view of the atoms drew and that a drag and a slider move
// changed it; chromium's log shows what the page wrote to its console.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace browser_test {

namespace fs = std::filesystem;

// Debian's browser on the PATH; empty where it is not installed.
fs::path findChromium();
inline constexpr const char* kNoChromium =
    "chromium is not installed (Debian package chromium), so the page is not tested in a browser";

// Runs chromium with a fresh profile and home in `scratch`, its output and log into files there.
class HeadlessChromium {
  public:
    HeadlessChromium(fs::path chromium, fs::path scratch)
        : chromium_(std::move(chromium)), scratch_(std::move(scratch)) {}

    // chromium with `arguments`: its exit status (-1: killed, having hung); `out` and `log`.
    int browse(const std::vector<std::string>& arguments);
    // Loads `page` with its self-check: what the check wrote, or the whole DOM if nothing.
    std::string selfCheck(const fs::path& page);
    // A screenshot of the page's first screen into `png`; chromium's exit status.
    int screenshot(const fs::path& page, const fs::path& png);
    // Lines the page wrote to the console (chromium logs them as "...:CONSOLE...").
    std::string consoleLines() const;

    std::string out, log;

  private:
    fs::path chromium_, scratch_;
};

}  // namespace browser_test
