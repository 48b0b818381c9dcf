#include "report/line_sink.h"

#include <cerrno>
#include <charconv>
#include <cstring>

LineSink::LineSink(const char* path) : ownsStream_(true) {
    std::snprintf(label_, sizeof label_, "%s", path);
    stream_ = std::fopen(path, "wb");
    if (stream_ == nullptr) {
        fail("cannot create", errno);
        return;
    }
    std::setvbuf(stream_, buffer_, _IOFBF, sizeof buffer_);
}

LineSink::LineSink(std::FILE* stream, const char* label) : stream_(stream), ownsStream_(false) {
    std::snprintf(label_, sizeof label_, "%s", label);
    std::setvbuf(stream_, nullptr, _IONBF, 0);
}

LineSink::~LineSink() {
    if (ownsStream_ && stream_ != nullptr) {
        std::fclose(stream_);
    }
}

LineSink& LineSink::operator<<(std::string_view text) {
    if (!failed_ && std::fwrite(text.data(), 1, text.size(), stream_) != text.size()) {
        fail("cannot write", errno);
    }
    return *this;
}

LineSink& LineSink::operator<<(int value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return *this << std::string_view(text, static_cast<std::size_t>(result.ptr - text));
}

LineSink& LineSink::operator<<(double value) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    return *this << std::string_view(text, static_cast<std::size_t>(result.ptr - text));
}

void LineSink::endLine() {
    *this << "\r\n";
    if (!failed_ && std::fflush(stream_) != 0) {
        fail("cannot write", errno);
    }
}

void LineSink::close() {
    if (!ownsStream_) {
        if (!failed_ && std::fflush(stream_) != 0) {
            fail("cannot write", errno);
        }
        return;
    }
    if (stream_ == nullptr) {
        return;
    }
    const int status = std::fclose(stream_);
    const int error = errno;
    stream_ = nullptr;
    if (status != 0 && !failed_) {
        fail("cannot write", error);
    }
    failed_ = failed_ || status != 0;
}

void LineSink::markLost(int error) {
    if (!failed_) {
        fail("cannot write", error);
    }
}

void LineSink::fail(const char* action, int error) {
    failed_ = true;
    std::fprintf(stderr, "argon-md: %s %s: %s\n", action, label_, std::strerror(error));
}
