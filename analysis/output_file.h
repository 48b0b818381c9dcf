#pragma once

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Every output is first written under this name beside its real one and renamed when complete,
// so that a failed or interrupted write never leaves a partial file under the real name.
std::filesystem::path partialPath(const std::filesystem::path& path);

// An output that cannot be written; the message names it and gives the system's reason.
struct OutputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The outputs of one report, written under their partial names and given their real ones only
// at the end, when the whole report has succeeded: a report refused at any stage leaves no
// output behind. Each output joins with one call.
class PendingOutputs {
  public:
    explicit PendingOutputs(std::filesystem::path dir) : dir_(std::move(dir)) {}
    // Removes the partial file of every output not committed.
    ~PendingOutputs();
    PendingOutputs(const PendingOutputs&) = delete;
    PendingOutputs& operator=(const PendingOutputs&) = delete;

    // A stream to the partial file of `name` in the directory, for writing as the output is
    // formed; write errors are found by commit(). Throws OutputError.
    std::FILE* open(const std::string& name);
    // An output whose whole contents are at hand.
    void write(const std::string& name, std::string_view contents);
    // An output that another program (gnuplot) has written to its partial file.
    void adopt(const std::string& name);
    // Leaves out an output, removing its partial file.
    void drop(const std::string& name);

    // Closes every output, then gives each its real name; returns their paths in the order
    // they joined. Throws OutputError for the first output that fails; the partial
    // files of the others are then removed.
    std::vector<std::filesystem::path> commit();

  private:
    struct Output {
        std::filesystem::path path;
        std::FILE* stream = nullptr;
        bool committed = false;
    };
    std::filesystem::path dir_;
    std::vector<Output> outputs_;
};
