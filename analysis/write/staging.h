#pragma once

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/read/run_directory.h"

// An output that cannot be written; the message names it and gives the system's reason.
struct OutputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Every name the report writes under, fixed here: no name is formed from DIR or from the files
// read, so none can start with '|', hold a line end, or lead out of the directory it is in.
// The outputs, then gnuplot's script and what gnuplot says, which are never committed: its
// messages are shown only when it fails.
inline constexpr const char* kOutputNames[] = {"report.html", "validation.txt",  "trajectory.xyz",
                                               "rdf.txt",     "msd-average.txt", "diffusion.txt",
                                               "energy.png",  "temperature.png", "msd.png",
                                               "rdf.png",     "snapshot.png",    "trajectory.gif"};
inline constexpr const char* kPlotScript = "plots.gp";
inline constexpr const char* kPlotMessages = "plots.log";

// Whether `name` is one of those names.
bool isStagedName(std::string_view name);

// The name of every staging directory begins with this; the rest is random.
inline constexpr const char* kStagingPrefix = ".argon-md-report-";

// The outputs of one report, written into a staging directory of its own inside the run's
// directory (mode 0700), then moved into the run's directory all together when the whole report
// stands. Until then the run's directory holds what it held; whatever refuses or fails the report
// removes the staging directory with everything in it, and a stop from outside does the same
// (stops.h). The platform's part is in staging_posix.cpp or staging_windows.cpp.
class Staging {
  public:
    // First removes the staging directories that reports stopped by SIGKILL left in `dir` (only
    // those with the prefix, owned by this user and not in use by a report at work), adding the
    // name of each to `removed`. OutputError when no staging directory can be made.
    Staging(const RunDirectory& dir, std::vector<std::string>& removed);
    // Removes the staging directory and what it holds, unless committed.
    ~Staging();
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;

    // A stream to output `name`, for writing as the output is formed; write errors are found by
    // close() or commit(). OutputError when a directory has the name in the run's directory (it
    // could not be replaced) or the file cannot be made.
    std::FILE* open(const char* name);
    // Closes output `name`, opened by open(); OutputError when what was written did not reach
    // it. An output held open no longer than it is written can be removed on Windows.
    void close(const char* name);
    // An output whose whole contents are at hand, written and closed.
    void write(const char* name, std::string_view contents);
    // gnuplot's script: written like an output, never committed.
    void writeScript(std::string_view contents);
    // An output that gnuplot writes into the staging directory, its working directory;
    // OutputError when a directory has the name in the run's directory.
    void adopt(const char* name);
    // Leaves out an output, removing what was written of it.
    void drop(const char* name);
    // Whether output `name` was written as a regular file (by gnuplot, say).
    bool holdsFile(const char* name) const;
    // The bytes of `name` in the staging directory as they stand (a picture gnuplot drew, or
    // kPlotMessages); OutputError when it cannot be read.
    std::string read(const char* name) const;

    // Closes every output, then moves each into the run's directory under its name, replacing
    // what is there (a link is replaced, never followed), and removes the staging directory.
    // Returns the names in the order the outputs joined. OutputError for the first output that
    // fails; those already moved are then moved back, so that the run's directory holds what it
    // held before.
    std::vector<std::string> commit();

    // POSIX: the staging directory's descriptor, gnuplot's working directory. Windows: -1.
    int descriptor() const { return descriptor_; }
    // The staging directory's path (gnuplot's working directory on Windows).
    const std::filesystem::path& path() const { return path_; }

  private:
    struct Output {
        std::string name;
        std::FILE* stream = nullptr;
        bool committed = true;  // false for gnuplot's script
    };
    enum class Move { exchanged, placed, replaced };
    Output& join(const char* name, bool committed);
    // Flushes and closes the output's stream; OutputError when what was written did not reach it.
    void finish(Output& output);

    // The platform's part.
    bool isDirectoryInRun(const char* name) const;
    // A new file in the staging directory; OutputError when it cannot be made.
    std::FILE* createFile(const std::string& name);
    void removeFile(const std::string& name);
    // Moves output `name` into the run's directory; OutputError when it cannot.
    Move moveIn(const std::string& name);
    void moveBack(const std::string& name, Move move);
    // Removes the staging directory with what it holds; the report is done with it.
    void removeAll();

    const RunDirectory& dir_;
    std::string name_;  // of the staging directory, in the run's directory
    std::filesystem::path path_;
    int descriptor_ = -1;
    std::vector<Output> outputs_;
    bool done_ = false;
};

// Throws OutputError "<what>: cannot be written: <reason>".
[[noreturn]] void cannotWrite(const std::string& what, const std::string& reason);

// Removes the staging directory of the report at work, with what it holds. Safe in a signal
// handler: it reads only what was recorded, with stops held, when the directory was made.
void removeStagingAtWork();
