#include "analysis/plot/draw_pictures.h"

#include <stdexcept>

#include "analysis/formatted.h"
#include "analysis/plot/gnuplot_process.h"

namespace {

// What every picture starts from; a picture changes what it needs.
constexpr const char* kCommonSettings =
    "set encoding utf8\nset grid\nset key below height 1.5\n"
    "set xlabel 'time (ps)'\nset autoscale xfix\n";

}  // namespace

std::vector<std::string> drawPictures(Staging& staging, const std::vector<Picture>& pictures) {
    std::vector<std::string> names;
    if (pictures.empty()) {
        return names;
    }
    std::string script = pngTerminal(1000, 600) + kCommonSettings;
    for (const Picture& picture : pictures) {
        script += picture.script;
        names.push_back(picture.name);
    }
    staging.writeScript(script + "unset output\n");

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
            formatted("gnuplot failed (exit status %d); no plots written", status));
    }
    for (const auto& name : names) {
        if (!staging.holdsFile(name.c_str())) {
            dropPictures();
            throw std::runtime_error(name + ": gnuplot did not write it");
        }
    }
    return names;
}
