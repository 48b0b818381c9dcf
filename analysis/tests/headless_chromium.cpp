#include "headless_chromium.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "support/program_run.h"

namespace browser_test {

namespace {

constexpr auto kBrowserTime = std::chrono::seconds(120);  // then it is taken as hung

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

// Waits for a started chromium: its exit status; -1 when it ended by a signal, or hung past
// kBrowserTime and was killed with every helper in its session.
int waitWithin(pid_t pid) {
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

}  // namespace

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

int HeadlessChromium::browse(const std::vector<std::string>& arguments) {
    // In a session of its own (setsid), so that a hung chromium is killed with its helpers, and
    // with its home in the scratch directory (env), so that it leaves nothing in the user's.
    std::vector<std::string> argv = {"/usr/bin/env",
                                     "HOME=" + scratch_.string(),
                                     chromium_.string(),
                                     "--headless",
                                     "--disable-gpu",
                                     "--no-first-run",
                                     "--disable-background-networking",
                                     "--disable-component-update",
                                     "--disable-sync",
                                     "--disable-quic",
                                     "--enable-logging=stderr",
                                     "--user-data-dir=" + (scratch_ / "profile").string()};
    if (::geteuid() == 0) argv.push_back("--no-sandbox");  // its sandbox refuses root
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const int status =
        waitWithin(startProgram("/usr/bin/setsid", scratch_, (scratch_ / "out").string(),
                                (scratch_ / "log").string(), argv));
    out = readFile(scratch_ / "out");
    log = readFile(scratch_ / "log");
    return status;
}

std::string HeadlessChromium::selfCheck(const fs::path& page) {
    if (browse({"--virtual-time-budget=10000", "--dump-dom", fileUrl(page) + "#selfcheck"}) != 0) {
        return "chromium failed: " + log;
    }
    const auto start = out.rfind("<pre id=\"selfcheck\">");  // the last: the scripts name it
    return start == std::string::npos ? out : out.substr(start, out.find("</pre>", start) - start);
}

int HeadlessChromium::screenshot(const fs::path& page, const fs::path& png) {
    fs::remove(png);
    return browse({"--window-size=1000,1200", "--hide-scrollbars", "--screenshot=" + png.string(),
                   fileUrl(page)});
}

std::string HeadlessChromium::consoleLines() const {
    std::string lines;
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = std::min(log.find('\n', start), log.size());
        const std::string line = log.substr(start, end - start);
        if (line.find(":CONSOLE") != std::string::npos) lines += line + '\n';
        start = end + 1;
    }
    return lines;
}

}  // namespace browser_test
