#include <process.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "analysis/gnuplot_process.h"
#include "analysis/plots.h"

int runGnuplot(const std::filesystem::path& script) {
    // The C runtime joins the arguments into one command line with spaces, and gnuplot splits
    // it again: a path with spaces in it (a user's temporary folder) must be quoted. A Windows
    // path cannot contain a quote itself.
    std::string argument = script.string();
    argument.insert(argument.begin(), '"');
    argument.push_back('"');
    const char* const argv[] = {"gnuplot", argument.c_str(), nullptr};
    // Searches the PATH for gnuplot.exe (or .com, .bat, .cmd) and waits for it to end.
    const intptr_t status = _spawnvp(_P_WAIT, "gnuplot", argv);
    if (status == -1 && errno == ENOENT) {
        throw GnuplotMissing("install it and put the folder of gnuplot.exe on the PATH");
    }
    if (status == -1) {
        throw std::runtime_error(std::string("gnuplot could not be started: ") +
                                 std::strerror(errno));
    }
    return static_cast<int>(status);
}
