#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "analysis/plot/gnuplot_process.h"
#include "analysis/stops.h"
#include "analysis/write/staging.h"

namespace {

// gnuplot's process while it runs, else 0; written with the stops held.
intptr_t running = 0;

// gnuplot in the first folder of the PATH that holds it, as a .com, .exe, .bat or .cmd; empty
// when there is none. Not in the working directory, where Windows would look first: that is the
// run's directory, and a file lying there must never become a program the report starts.
std::filesystem::path findGnuplot() {
    std::wstring folders;
    if (const wchar_t* path = _wgetenv(L"PATH")) {
        folders = path;
    }
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(L';', start), folders.size());
        const std::filesystem::path folder = folders.substr(start, end - start);
        start = end + 1;
        if (folder.empty()) {
            continue;
        }
        for (const wchar_t* extension : {L".com", L".exe", L".bat", L".cmd"}) {
            std::error_code ec;
            const auto candidate = folder / (std::wstring(L"gnuplot") + extension);
            if (std::filesystem::is_regular_file(candidate, ec)) {
                return std::filesystem::absolute(candidate, ec);
            }
        }
    }
    return {};
}

// Gives descriptor `fd` back what `saved` holds (a copy made with _dup), or closes it when it
// was not open.
void restoreDescriptor(int saved, int fd) {
    if (saved >= 0) {
        _dup2(saved, fd);
        _close(saved);
    } else {
        _close(fd);
    }
}

}  // namespace

void endRunningGnuplot() {
    if (running != 0) {
        TerminateProcess(reinterpret_cast<HANDLE>(running), 1);
        WaitForSingleObject(reinterpret_cast<HANDLE>(running), INFINITE);
    }
}

int runGnuplot(const Staging& staging) {
    const std::filesystem::path program = findGnuplot();
    if (program.empty()) {
        throw GnuplotMissing("install it and put the folder of gnuplot.exe on the PATH");
    }
    // The C runtime joins the arguments into one command line with spaces, which a batch file's
    // command interpreter splits again: the program's path, which may hold spaces, is quoted (a
    // Windows path cannot hold a quote itself). It starts the program in the working directory
    // of the report: the staging directory while gnuplot starts, and the report's own at once.
    const std::wstring quoted = L"\"" + program.wstring() + L"\"";
    const std::wstring script(kPlotScript, kPlotScript + std::strlen(kPlotScript));
    const wchar_t* const argv[] = {quoted.c_str(), script.c_str(), nullptr};
    std::error_code ec;
    const std::filesystem::path before = std::filesystem::current_path(ec);
    {
        const StopsHeld held;
        // gnuplot inherits the report's standard output and error: they lead into the staging
        // directory's kPlotMessages while it starts, to be shown only if it fails.
        const int messages = _wopen((staging.path() / kPlotMessages).c_str(),
                                    _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                                    _S_IREAD | _S_IWRITE);
        if (ec || messages < 0 || _wchdir(staging.path().c_str()) != 0) {
            const int error = errno;
            if (messages >= 0) {
                _close(messages);
            }
            throw std::runtime_error("gnuplot could not be started: " +
                                     std::string(std::strerror(error)));
        }
        std::fflush(stdout);
        std::fflush(stderr);
        const int output = _dup(1);
        const int errors = _dup(2);
        _dup2(messages, 1);
        _dup2(messages, 2);
        running = _wspawnv(_P_NOWAIT, program.c_str(), argv);
        const int error = errno;
        restoreDescriptor(output, 1);
        restoreDescriptor(errors, 2);
        _close(messages);
        _wchdir(before.c_str());
        if (running == -1) {
            running = 0;
            throw std::runtime_error("gnuplot could not be started: " +
                                     std::string(std::strerror(error)));
        }
    }
    const auto process = reinterpret_cast<HANDLE>(running);
    DWORD status = 0;
    const bool waited = WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
                        GetExitCodeProcess(process, &status);
    const StopsHeld held;
    CloseHandle(process);
    running = 0;
    if (!waited) {
        throw std::runtime_error("waiting for gnuplot failed");
    }
    return static_cast<int>(status);
}
