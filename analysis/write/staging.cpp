#include "analysis/write/staging.h"

#include <cerrno>
#include <cstring>

#include "analysis/stops.h"

bool isStagedName(std::string_view name) {
    for (const char* output : kOutputNames) {
        if (name == output) {
            return true;
        }
    }
    return name == kPlotScript || name == kPlotMessages;
}

[[noreturn]] void cannotWrite(const std::string& what, const std::string& reason) {
    throw OutputError(what + ": cannot be written: " + reason);
}

Staging::~Staging() {
    for (auto& output : outputs_) {
        if (output.stream != nullptr) {
            std::fclose(output.stream);
        }
    }
    if (!done_) {
        const StopsHeld held;
        removeAll();
    }
}

Staging::Output& Staging::join(const char* name, bool committed) {
    if (!isStagedName(name)) {
        throw std::logic_error(std::string("not a name the report writes: ") + name);
    }
    // Told now rather than when the report is complete: the move would fail.
    if (committed && isDirectoryInRun(name)) {
        cannotWrite(dir_.nameOf(name), "a directory has its name");
    }
    outputs_.push_back({name, nullptr, committed});
    return outputs_.back();
}

void Staging::finish(Output& output) {
    if (output.stream == nullptr) {
        return;
    }
    errno = 0;
    const bool written = std::ferror(output.stream) == 0 && std::fflush(output.stream) == 0;
    int error = errno;
    const bool closed = std::fclose(output.stream) == 0;
    output.stream = nullptr;
    if (!closed && error == 0) {
        error = errno;
    }
    if (!written || !closed) {
        cannotWrite(dir_.nameOf(output.name), error != 0 ? std::strerror(error) : "write failed");
    }
}

std::FILE* Staging::open(const char* name) {
    Output& output = join(name, true);
    output.stream = createFile(output.name);
    return output.stream;
}

void Staging::write(const char* name, std::string_view contents) {
    std::fwrite(contents.data(), 1, contents.size(), open(name));
    finish(outputs_.back());
}

void Staging::close(const char* name) {
    for (auto& output : outputs_) {
        if (output.name == name) {
            finish(output);
        }
    }
}

void Staging::writeScript(std::string_view contents) {
    Output& script = join(kPlotScript, false);
    script.stream = createFile(script.name);
    std::fwrite(contents.data(), 1, contents.size(), script.stream);
    finish(script);
}

void Staging::adopt(const char* name) {
    join(name, true);
}

void Staging::drop(const char* name) {
    for (auto it = outputs_.begin(); it != outputs_.end(); ++it) {
        if (it->name == name) {
            if (it->stream != nullptr) {
                std::fclose(it->stream);
            }
            removeFile(it->name);
            outputs_.erase(it);
            return;
        }
    }
}

std::vector<std::string> Staging::commit() {
    for (auto& output : outputs_) {
        finish(output);
    }
    const StopsHeld held;
    std::vector<std::pair<std::string, Move>> moved;
    try {
        for (const auto& output : outputs_) {
            if (output.committed) {
                moved.emplace_back(output.name, moveIn(output.name));
            }
        }
    } catch (const OutputError&) {
        for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
            moveBack(it->first, it->second);
        }
        throw;
    }
    // What the outputs replaced now lies in the staging directory, and goes with it.
    removeAll();
    std::vector<std::string> names;
    for (const auto& entry : moved) {
        names.push_back(entry.first);
    }
    return names;
}
