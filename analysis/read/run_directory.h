#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The directory of a run, opened once. Its inputs are opened, and the report's outputs placed,
// relative to the open directory, so that what DIR names cannot change under the report.
// The platform's part is in run_directory_posix.cpp or run_directory_windows.cpp.
class RunDirectory {
  public:
    // InputError (text_input.h) "DIR: no such directory", "DIR: not a directory", or the
    // system's reason.
    explicit RunDirectory(std::filesystem::path path);
    ~RunDirectory();
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The file `name` in the directory as messages name it: DIR/name.
    std::string nameOf(std::string_view name) const;
    // POSIX: the open directory's descriptor. Windows, where files are opened by path: -1.
    int descriptor() const { return descriptor_; }

  private:
    std::filesystem::path path_;
    int descriptor_ = -1;
};

// The message for a run's file that is not in `dir`: the directory holds no run, or what is left
// of one without it.
std::string missingRunFile(const RunDirectory& dir, const char* name);

// The system's words for error `error`: an errno value on POSIX, GetLastError() on Windows.
std::string systemReason(unsigned long error);

// One of the run's files, opened for reading without blocking and checked on the open file (not
// on its name) to be a regular file, so that a FIFO or a device put in its place at any moment
// is refused and never waited on. A link at the name is followed: the user may link a run's
// file, and the report only reads it.
class InputFile {
  public:
    // InputError "no name in DIR: run argon-md there first", "DIR/name: not a regular file", or
    // the system's reason.
    InputFile(const RunDirectory& dir, const char* name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `most` bytes into `into`; 0 at the end of the file. InputError when the read
    // fails.
    std::size_t read(char* into, std::size_t most);
    const std::string& name() const { return name_; }

  private:
    std::string name_;
    std::intptr_t handle_ = -1;  // a descriptor on POSIX, a HANDLE on Windows
};
