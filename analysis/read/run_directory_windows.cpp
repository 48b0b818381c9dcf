#include <windows.h>

#include <string>

#include "analysis/formatted.h"
#include "analysis/read/run_directory.h"
#include "analysis/read/text_input.h"

namespace {

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

// Without the line end and full stop that the system's words end with.
std::string missingRunFile(const RunDirectory& dir, const char* name) {
    return std::string("no ") + name + " in " + displayed(dir.path()) +
           ": run argon-md there first";
}

std::string systemReason(unsigned long error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string words = length != 0 ? std::string(text, length) : "error " + std::to_string(error);
    LocalFree(text);
    while (!words.empty() &&
           (words.back() == '\n' || words.back() == '\r' || words.back() == '.')) {
        words.pop_back();
    }
    return words;
}

RunDirectory::RunDirectory(std::filesystem::path path) : path_(std::move(path)) {
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        throw InputError(displayed(path_) +
                         (isMissing(error) ? ": no such directory" : ": " + systemReason(error)));
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        throw InputError(displayed(path_) + ": not a directory");
    }
}

RunDirectory::~RunDirectory() = default;

std::string RunDirectory::nameOf(std::string_view name) const {
    return displayed(path_ / name);
}

InputFile::InputFile(const RunDirectory& dir, const char* name) : name_(dir.nameOf(name)) {
    const std::filesystem::path path = dir.path() / name;
    // A directory cannot be opened this way (it needs backup semantics): it fails as denied.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            throw InputError(name_ + ": not a regular file");
        }
        if (isMissing(error)) {
            throw InputError(missingRunFile(dir, name));
        }
        throw InputError(name_ + ": " + systemReason(error));
    }
    // A pipe, the console or a device such as NUL is no file on a disk.
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(file);
        throw InputError(name_ + ": not a regular file");
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

InputFile::~InputFile() {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::size_t InputFile::read(char* into, std::size_t most) {
    DWORD got = 0;
    const auto asked = static_cast<DWORD>(most < 0x40000000 ? most : 0x40000000);
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), into, asked, &got, nullptr)) {
        throw InputError(name_ + ": cannot be read: " + systemReason(GetLastError()));
    }
    return got;
}
