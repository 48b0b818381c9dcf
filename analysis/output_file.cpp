#include "analysis/output_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace {

[[noreturn]] void cannotWrite(const std::filesystem::path& path, const std::string& reason) {
    throw OutputError(path.string() + ": cannot be written: " + reason);
}

std::string lastReason(const char* otherwise) {
    return errno != 0 ? std::strerror(errno) : otherwise;
}

}  // namespace

std::filesystem::path partialPath(const std::filesystem::path& path) {
    std::filesystem::path partial = path;
    partial += ".partial";
    return partial;
}

namespace {

// Only what the report may have left: never a directory that happens to have the name.
void removePartial(const std::filesystem::path& path) {
    std::error_code ignored;
    const auto partial = partialPath(path);
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(partial, ignored))) {
        std::filesystem::remove(partial, ignored);
    }
}

}  // namespace

PendingOutputs::~PendingOutputs() {
    for (auto& output : outputs_) {
        if (output.stream != nullptr) {
            std::fclose(output.stream);
        }
        if (!output.committed) {
            removePartial(output.path);
        }
    }
}

void PendingOutputs::drop(const std::string& name) {
    for (auto it = outputs_.begin(); it != outputs_.end(); ++it) {
        if (it->path == dir_ / name) {
            if (it->stream != nullptr) {
                std::fclose(it->stream);
            }
            removePartial(it->path);
            outputs_.erase(it);
            return;
        }
    }
}

std::FILE* PendingOutputs::open(const std::string& name) {
    adopt(name);
    Output& output = outputs_.back();
    errno = 0;
    output.stream = std::fopen(partialPath(output.path).string().c_str(), "wb");
    if (output.stream == nullptr) {
        cannotWrite(output.path, lastReason("cannot be created"));
    }
    return output.stream;
}

void PendingOutputs::write(const std::string& name, std::string_view contents) {
    std::FILE* stream = open(name);
    std::fwrite(contents.data(), 1, contents.size(), stream);
}

void PendingOutputs::adopt(const std::string& name) {
    // Told now rather than when the report is complete: the rename would fail.
    std::error_code ignored;
    if (std::filesystem::is_directory(dir_ / name, ignored)) {
        cannotWrite(dir_ / name, "a directory has its name");
    }
    outputs_.push_back({dir_ / name});
}

std::vector<std::filesystem::path> PendingOutputs::commit() {
    for (auto& output : outputs_) {
        if (output.stream == nullptr) {
            continue;
        }
        errno = 0;
        const bool failed = std::ferror(output.stream) != 0 || std::fflush(output.stream) != 0;
        const std::string reason = lastReason("write failed");
        const bool closed = std::fclose(output.stream) == 0;
        output.stream = nullptr;
        if (failed || !closed) {
            cannotWrite(output.path, failed ? reason : lastReason("write failed"));
        }
    }
    std::vector<std::filesystem::path> written;
    for (auto& output : outputs_) {
        std::error_code ec;
        std::filesystem::rename(partialPath(output.path), output.path, ec);
        if (ec) {
            // The outputs already renamed go too: a refused report leaves none of them.
            for (const auto& path : written) {
                std::error_code ignored;
                std::filesystem::remove(path, ignored);
            }
            cannotWrite(output.path, ec.message());
        }
        output.committed = true;
        written.push_back(output.path);
    }
    return written;
}
