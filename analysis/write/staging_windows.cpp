#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "analysis/formatted.h"
#include "analysis/stops.h"
#include "analysis/write/staging.h"

// Windows has no directory descriptors: the staging directory is made, and the outputs moved,
// by path. An output's old file is first moved aside into the staging directory, so that a
// failed commit can put it back.
namespace {

// The old file that an output replaces is set aside under its name with this added.
constexpr const char* kAside = ".replaced";

// What a stop removes: the staging directory's path; written with the stops held.
std::filesystem::path atWork;

// A directory, not a link to one.
bool isDirectory(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// Removes the files in `staging`, then the directory; false when it stays.
bool removeDirectory(const std::filesystem::path& staging) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(staging, ec)) {
        DeleteFileW(entry.path().c_str());
    }
    return RemoveDirectoryW(staging.c_str()) != 0;
}

// Whether `staging` holds nothing but files under the names a report writes, or sets aside.
bool holdsOnlyStagedFiles(const std::filesystem::path& staging) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(staging, ec)) {
        std::string name = displayed(entry.path().filename());
        if (name.ends_with(kAside)) {
            name.resize(name.size() - std::strlen(kAside));
        }
        if (!isStagedName(name) || isDirectory(entry.path())) {
            return false;
        }
    }
    return !ec;
}

// A report at work keeps its files open, and they cannot be removed.
void removeLeftovers(const RunDirectory& dir, std::vector<std::string>& removed) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path(), ec)) {
        const std::string name = displayed(entry.path().filename());
        if (name.starts_with(kStagingPrefix) && isDirectory(entry.path()) &&
            holdsOnlyStagedFiles(entry.path()) && removeDirectory(entry.path())) {
            removed.push_back(dir.nameOf(name));
        }
    }
}

}  // namespace

void removeStagingAtWork() {
    if (!atWork.empty()) {
        removeDirectory(atWork);
    }
}

Staging::Staging(const RunDirectory& dir, std::vector<std::string>& removed) : dir_(dir) {
    removeLeftovers(dir, removed);
    const StopsHeld held;
    for (unsigned attempt = 0;; ++attempt) {
        name_ = kStagingPrefix + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount() + attempt);
        path_ = dir.path() / name_;
        if (CreateDirectoryW(path_.c_str(), nullptr)) {
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS || attempt == 100) {
            cannotWrite(displayed(dir.path()), systemReason(GetLastError()));
        }
    }
    atWork = path_;
}

void Staging::removeAll() {
    removeDirectory(path_);
    atWork.clear();
    done_ = true;
}

std::FILE* Staging::createFile(const std::string& name) {
    HANDLE file = CreateFileW((path_ / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        cannotWrite(dir_.nameOf(name), systemReason(GetLastError()));
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY | _O_WRONLY);
    std::FILE* stream = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (stream == nullptr) {
        if (fd >= 0) {
            _close(fd);
        } else {
            CloseHandle(file);
        }
        cannotWrite(dir_.nameOf(name), std::strerror(errno));
    }
    return stream;
}

void Staging::removeFile(const std::string& name) {
    DeleteFileW((path_ / name).c_str());
}

bool Staging::isDirectoryInRun(const char* name) const {
    return isDirectory(dir_.path() / name);
}

bool Staging::holdsFile(const char* name) const {
    const DWORD attributes = GetFileAttributesW((path_ / name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string Staging::read(const char* name) const {
    std::FILE* stream = _wfopen((path_ / name).c_str(), L"rb");
    std::string bytes;
    char buffer[1 << 16];
    while (stream != nullptr) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, stream);
        bytes.append(buffer, got);
        if (got < sizeof buffer) {
            break;
        }
    }
    const int error = errno;
    const bool failed = stream == nullptr || std::ferror(stream) != 0;
    if (stream != nullptr) {
        std::fclose(stream);
    }
    if (failed) {
        throw OutputError(dir_.nameOf(name) + ": cannot be read back: " + std::strerror(error));
    }
    return bytes;
}

// The old file, if any, goes aside into the staging directory (kAside), then the output takes
// its name.
Staging::Move Staging::moveIn(const std::string& name) {
    const std::filesystem::path target = dir_.path() / name;
    if (isDirectory(target)) {
        cannotWrite(dir_.nameOf(name), "a directory has its name");
    }
    const std::filesystem::path aside = path_ / (name + kAside);
    const bool replaces = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (replaces && !MoveFileExW(target.c_str(), aside.c_str(), 0)) {
        cannotWrite(dir_.nameOf(name), systemReason(GetLastError()));
    }
    if (!MoveFileExW((path_ / name).c_str(), target.c_str(), 0)) {
        const DWORD error = GetLastError();
        if (replaces) {
            MoveFileExW(aside.c_str(), target.c_str(), 0);
        }
        cannotWrite(dir_.nameOf(name), systemReason(error));
    }
    return replaces ? Move::exchanged : Move::placed;
}

void Staging::moveBack(const std::string& name, Move move) {
    const std::filesystem::path target = dir_.path() / name;
    MoveFileExW(target.c_str(), (path_ / name).c_str(), 0);
    if (move == Move::exchanged) {
        MoveFileExW((path_ / (name + kAside)).c_str(), target.c_str(), 0);
    }
}
