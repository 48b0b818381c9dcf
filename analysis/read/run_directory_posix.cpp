#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "analysis/formatted.h"
#include "analysis/read/run_directory.h"
#include "analysis/read/text_input.h"

std::string missingRunFile(const RunDirectory& dir, const char* name) {
    return std::string("no ") + name + " in " + displayed(dir.path()) +
           ": run argon-md there first";
}

std::string systemReason(unsigned long error) {
    return std::strerror(static_cast<int>(error));
}

RunDirectory::RunDirectory(std::filesystem::path path) : path_(std::move(path)) {
    // O_NONBLOCK: a FIFO at DIR is refused by O_DIRECTORY, never opened and waited on.
    descriptor_ = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor_ < 0) {
        const int error = errno;
        const std::string shown = displayed(path_);
        if (error == ENOENT) {
            throw InputError(shown + ": no such directory");
        }
        if (error == ENOTDIR) {
            throw InputError(shown + ": not a directory");
        }
        throw InputError(shown + ": " + std::strerror(error));
    }
}

RunDirectory::~RunDirectory() {
    ::close(descriptor_);
}

std::string RunDirectory::nameOf(std::string_view name) const {
    return displayed(path_ / name);
}

InputFile::InputFile(const RunDirectory& dir, const char* name) : name_(dir.nameOf(name)) {
    // O_NONBLOCK: opening a FIFO or a device neither waits for a writer nor for a line.
    const int fd = ::openat(dir.descriptor(), name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            throw InputError(missingRunFile(dir, name));
        }
        throw InputError(name_ + ": " + std::strerror(errno));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw InputError(name_ + ": not a regular file");
    }
    handle_ = fd;
}

InputFile::~InputFile() {
    ::close(static_cast<int>(handle_));
}

std::size_t InputFile::read(char* into, std::size_t most) {
    while (true) {
        const ssize_t got = ::read(static_cast<int>(handle_), into, most);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            throw InputError(name_ + ": cannot be read: " + std::strerror(errno));
        }
    }
}
