#include "analysis/output_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

std::filesystem::path partialPath(const std::filesystem::path& path) {
    std::filesystem::path partial = path;
    partial += ".partial";
    return partial;
}

void commitPartial(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::rename(partialPath(path), path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(partialPath(path), ignored);
        throw std::runtime_error(path.string() + ": cannot be written: " + ec.message());
    }
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    const auto partial = partialPath(path);
    errno = 0;
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        out.close();
        if (!out) {
            const std::string reason = errno != 0 ? std::strerror(errno) : "write failed";
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw std::runtime_error(path.string() + ": cannot be written: " + reason);
        }
    }
    commitPartial(path);
}
