#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include "analysis/formatted.h"
#include "analysis/stops.h"
#include "analysis/write/staging.h"

namespace {

// What a stop removes (removeStagingAtWork): the run's directory and the staging directory, open,
// and the staging directory's name. Written with the stops held.
int atWorkParent = -1;
int atWorkStaging = -1;
char atWorkName[64];

// Removes every staged name in the open directory `staging`, then the directory itself, named
// `name` in `parent`; false when it stays (it holds something else). Async-signal-safe.
bool removeStaged(int parent, int staging, const char* name) {
    for (const char* output : kOutputNames) {
        unlinkat(staging, output, 0);
    }
    unlinkat(staging, kPlotScript, 0);
    unlinkat(staging, kPlotMessages, 0);
    return unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

// Whether the entry `name` of the open directory `dir` is a directory itself; a link is not.
bool isDirectoryAt(int dir, const char* name) {
    struct stat status {};
    return fstatat(dir, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode);
}

// The names in the open directory `dir`, read through a descriptor of their own; none when it
// cannot be listed.
std::optional<std::vector<std::string>> namesIn(int dir) {
    const int listed = openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listed < 0 ? nullptr : fdopendir(listed);
    if (entries == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    closedir(entries);
    return names;
}

// Whether the open directory `staging` holds nothing but files under the names a report writes.
bool holdsOnlyStagedFiles(int staging) {
    const auto names = namesIn(staging);
    return names && std::all_of(names->begin(), names->end(), [&](const std::string& name) {
               return isStagedName(name) && !isDirectoryAt(staging, name.c_str());
           });
}

// Staging directories of reports that a SIGKILL stopped: with the prefix, a directory owned by
// this user, locked by no report (each report holds a lock on its own while it works), and
// holding only what a report writes.
void removeLeftovers(const RunDirectory& dir, std::vector<std::string>& removed) {
    for (const auto& name : namesIn(dir.descriptor()).value_or(std::vector<std::string>{})) {
        if (!name.starts_with(kStagingPrefix)) {
            continue;
        }
        const int staging =
            openat(dir.descriptor(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (staging < 0) {
            continue;
        }
        struct stat status {};
        if (fstat(staging, &status) == 0 && status.st_uid == geteuid() &&
            flock(staging, LOCK_EX | LOCK_NB) == 0 && holdsOnlyStagedFiles(staging) &&
            removeStaged(dir.descriptor(), staging, name.c_str())) {
            removed.push_back(dir.nameOf(name));
        }
        ::close(staging);
    }
}

// Six random letters or digits.
std::string randomSuffix() {
    constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[6] = {};
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        const auto seed = static_cast<unsigned long>(std::time(nullptr)) ^
                          static_cast<unsigned long>(getpid()) * 2654435761ul;
        for (std::size_t i = 0; i < sizeof bytes; ++i) {
            bytes[i] = static_cast<unsigned char>(seed >> (5 * i));
        }
    }
    std::string suffix;
    for (unsigned char byte : bytes) {
        suffix += kAlphabet[byte % (sizeof kAlphabet - 1)];
    }
    return suffix;
}

}  // namespace

void removeStagingAtWork() {
    if (atWorkStaging >= 0) {
        removeStaged(atWorkParent, atWorkStaging, atWorkName);
    }
}

// mkdtemp takes a path and would look DIR up again by its name; made here relative to the open
// run directory, with the same random name and mode 0700, it is made where the inputs were read.
Staging::Staging(const RunDirectory& dir, std::vector<std::string>& removed) : dir_(dir) {
    removeLeftovers(dir, removed);
    const StopsHeld held;
    for (int attempt = 0;; ++attempt) {
        name_ = kStagingPrefix + randomSuffix();
        if (mkdirat(dir.descriptor(), name_.c_str(), 0700) == 0) {
            break;
        }
        if (errno != EEXIST || attempt == 100) {
            cannotWrite(displayed(dir.path()), std::strerror(errno));
        }
    }
    path_ = dir.path() / name_;
    descriptor_ =
        openat(dir.descriptor(), name_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor_ < 0) {
        const int error = errno;
        unlinkat(dir.descriptor(), name_.c_str(), AT_REMOVEDIR);
        cannotWrite(displayed(dir.path()), std::strerror(error));
    }
    // Tells another report in the same directory that this one is at work.
    flock(descriptor_, LOCK_EX | LOCK_NB);
    atWorkParent = dir.descriptor();
    atWorkStaging = descriptor_;
    std::snprintf(atWorkName, sizeof atWorkName, "%s", name_.c_str());
}

void Staging::removeAll() {
    removeStaged(dir_.descriptor(), descriptor_, name_.c_str());
    ::close(descriptor_);
    atWorkStaging = -1;
    done_ = true;
}

std::FILE* Staging::createFile(const std::string& name) {
    // Made new in the report's own directory: nothing there can be a link.
    const int fd = openat(descriptor_, name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    std::FILE* stream = fd < 0 ? nullptr : fdopen(fd, "wb");
    if (stream == nullptr) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        cannotWrite(dir_.nameOf(name), std::strerror(error));
    }
    return stream;
}

void Staging::removeFile(const std::string& name) {
    unlinkat(descriptor_, name.c_str(), 0);
}

bool Staging::isDirectoryInRun(const char* name) const {
    return isDirectoryAt(dir_.descriptor(), name);
}

bool Staging::holdsFile(const char* name) const {
    struct stat status {};
    return fstatat(descriptor_, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode);
}

std::string Staging::read(const char* name) const {
    const int fd = openat(descriptor_, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    std::string bytes;
    char buffer[1 << 16];
    ssize_t got = 0;
    while (fd >= 0 && (got = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    if (fd < 0 || got < 0) {
        throw OutputError(dir_.nameOf(name) + ": cannot be read back: " + std::strerror(error));
    }
    return bytes;
}

// Exchanged atomically with what holds the name, which then lies in the staging directory until
// the commit stands: moved back, it is as it was. Where the file system cannot exchange, the move
// replaces what holds the name, which no undo brings back.
Staging::Move Staging::moveIn(const std::string& output) {
    const int parent = dir_.descriptor();
    const char* name = output.c_str();
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (isDirectoryAt(parent, name)) {
            cannotWrite(dir_.nameOf(name), "a directory has its name");
        }
        if (renameat2(descriptor_, name, parent, name, RENAME_EXCHANGE) == 0) {
            // A directory that took the name since it was looked at goes back.
            if (isDirectoryAt(descriptor_, name)) {
                renameat2(descriptor_, name, parent, name, RENAME_EXCHANGE);
                cannotWrite(dir_.nameOf(name), "a directory has its name");
            }
            return Move::exchanged;
        }
        if (errno == ENOENT) {  // nothing holds the name
            if (renameat2(descriptor_, name, parent, name, RENAME_NOREPLACE) == 0) {
                return Move::placed;
            }
            if (errno == EEXIST) {
                continue;  // something took the name meanwhile
            }
        }
        if ((errno == EINVAL || errno == ENOSYS) &&
            renameat(descriptor_, name, parent, name) == 0) {
            return Move::replaced;
        }
        cannotWrite(dir_.nameOf(name), std::strerror(errno));
    }
    cannotWrite(dir_.nameOf(name), "its name kept changing hands");
}

void Staging::moveBack(const std::string& output, Move move) {
    const int parent = dir_.descriptor();
    const char* name = output.c_str();
    if (move == Move::exchanged) {
        renameat2(descriptor_, name, parent, name, RENAME_EXCHANGE);
    } else if (move == Move::placed) {
        renameat(parent, name, descriptor_, name);
    }
}
