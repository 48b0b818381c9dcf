#include "analysis/read/text_input.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "analysis/formatted.h"

namespace {

// A piece of the file read at a time: large enough to make few system calls, small enough not to
// matter.
constexpr std::size_t kPiece = 64 * 1024;

}  // namespace

LineReader::LineReader(const RunDirectory& dir, const char* name)
    : file_(std::make_unique<InputFile>(dir, name)), name_(file_->name()) {
    buffer_.resize(kPiece);
}

LineReader::LineReader(std::string text, std::string name)
    : name_(std::move(name)), buffer_(text.begin(), text.end()), end_(text.size()), atEnd_(true) {}

LineReader::~LineReader() = default;

bool LineReader::refill() {
    if (atEnd_) {
        return false;
    }
    // What is pending moves to the front; it is shorter than a line, so the piece has room.
    std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(begin_),
              buffer_.begin() + static_cast<std::ptrdiff_t>(end_), buffer_.begin());
    end_ -= begin_;
    begin_ = 0;
    const std::size_t got = file_->read(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0) {
        atEnd_ = true;
        return false;
    }
    end_ += got;
    return true;
}

void LineReader::refuseUnended(std::string_view pending) const {
    // Lines ended by CR alone read as one endless line; saying so helps more than its length.
    const std::size_t cr = pending.find('\r');
    if (cr != std::string_view::npos && cr + 1 < pending.size()) {
        failAt(name_, line_ + 1, "the line ends in CR alone; lines end in CR LF (or LF)");
    }
    failAt(name_, line_ + 1,
           "longer than " + std::to_string(kLongestLine) + " bytes, which no run writes");
}

std::optional<std::string_view> LineReader::next() {
    while (true) {
        const char* const first = buffer_.data() + begin_;
        const std::string_view pending(first, end_ - begin_);
        const std::size_t lf = pending.find('\n');
        std::string_view line = pending.substr(0, lf);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.size() > kLongestLine) {
            refuseUnended(line);
        }
        if (lf != std::string_view::npos) {
            begin_ += lf + 1;
            ++line_;
            return line;
        }
        if (!refill()) {
            if (!pending.empty()) {
                const std::size_t cr = pending.find('\r');
                if (cr != std::string_view::npos && cr + 1 < pending.size()) {
                    refuseUnended(pending);
                }
                incomplete_ = true;
                begin_ = end_;
            }
            return std::nullopt;
        }
    }
}

void failAt(std::string_view file, std::size_t line, std::string_view what) {
    throw InputError(std::string(file) + ", line " + std::to_string(line) + ": " +
                     std::string(what));
}

std::string quoted(std::string_view line) {
    constexpr std::size_t kLongest = 60;
    std::string shown = "\"";
    shown += printable(line.substr(0, kLongest));
    shown += line.size() > kLongest ? "...\"" : "\"";
    return shown;
}

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", i);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        i = end;
    }
    return words;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = std::min(line.find(',', start), line.size());
        std::string_view field = line.substr(start, comma - start);
        const std::size_t first = field.find_first_not_of(' ');
        field = first == std::string_view::npos
                    ? std::string_view()
                    : field.substr(first, field.find_last_not_of(' ') - first + 1);
        fields.push_back(field);
        if (comma == line.size()) {
            return fields;
        }
        start = comma + 1;
    }
}

double parseNumber(std::string_view word, std::string_view file, std::size_t line) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc() || end != word.data() + word.size()) {
        failAt(file, line, "not a number: " + quoted(word));
    }
    if (!std::isfinite(value)) {
        failAt(file, line, "not a finite number: " + quoted(word));
    }
    return value;
}

long parseInteger(std::string_view word, std::string_view file, std::size_t line) {
    long value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec == std::errc::result_out_of_range) {
        failAt(file, line, "a whole number too large: " + quoted(word));
    }
    if (word.empty() || ec != std::errc() || end != word.data() + word.size()) {
        failAt(file, line, "not a whole number: " + quoted(word));
    }
    return value;
}
