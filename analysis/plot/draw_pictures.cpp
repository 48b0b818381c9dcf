#include "analysis/plot/draw_pictures.h"

#include <algorithm>
#include <stdexcept>

#include "analysis/formatted.h"
#include "analysis/plot/gnuplot_process.h"

namespace {

// What every picture starts from, whatever the picture before it set; a picture changes what it
// needs. (reset leaves the terminal, the output and the encoding as they are.)
constexpr const char* kCommonSettings =
    "reset\nset grid\nset key below height 1.5\nset autoscale xfix\n";

// At most this many of gnuplot's last lines are shown when it fails: its error is among them.
constexpr std::size_t kMessageLines = 12;

// What gnuplot said, its last lines that hold anything, each on a line of its own after
// "gnuplot: " (a line end of CR LF, as on Windows, taken as one).
std::string lastMessages(const std::string& said) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < said.size();) {
        const std::size_t end = std::min(said.find('\n', start), said.size());
        if (said.find_first_not_of(" \r\t", start) < end) {
            const bool crLf = said[end - 1] == '\r';
            lines.push_back(said.substr(start, end - start - crLf));
        }
        start = end + 1;
    }
    std::string text;
    for (std::size_t i = lines.size() - std::min(lines.size(), kMessageLines); i < lines.size();
         ++i) {
        text += "\ngnuplot: " + lines[i];
    }
    return text;
}

}  // namespace

std::vector<std::string> drawPictures(Staging& staging, const std::vector<Picture>& pictures) {
    std::vector<std::string> names;
    if (pictures.empty()) {
        return names;
    }
    std::string script = pngTerminal(1000, 600) + "set encoding utf8\n";
    for (const Picture& picture : pictures) {
        script += kCommonSettings;
        script += picture.script;
        names.push_back(picture.name);
    }
    script += "unset output\n";
    staging.writeScript(script);

    // Joined before gnuplot runs, so that a picture that cannot take its name is told first
    // and whatever gnuplot leaves is removed with the rest of a refused report.
    for (const auto& name : names) {
        staging.adopt(name.c_str());
    }
    const auto dropPictures = [&] {
        for (const auto& name : names) {
            staging.drop(name.c_str());
        }
    };
    int status = 0;
    try {
        status = runGnuplot(staging);
    } catch (...) {
        dropPictures();
        throw;
    }
    if (status != 0) {
        dropPictures();
        throw std::runtime_error(
            formatted("gnuplot failed (exit status %d); no plots written", status) +
            lastMessages(staging.read(kPlotMessages)));
    }
    for (const auto& name : names) {
        if (!staging.holdsFile(name.c_str())) {
            dropPictures();
            throw std::runtime_error(name + ": gnuplot did not write it");
        }
    }
    return names;
}
