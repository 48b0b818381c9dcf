#include "analysis/text_input.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <system_error>

std::string readTextFile(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        throw InputError(path.string() + ": no such file");
    }
    if (std::filesystem::is_directory(status)) {
        throw InputError(path.string() + ": is a directory, not a file");
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!in.is_open() || in.bad()) {
        throw InputError(path.string() + ": cannot be read");
    }
    return text;
}

TextLines splitLines(std::string_view text) {
    TextLines result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            result.incompleteLastLine = true;
            break;
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        result.lines.push_back(line);
        start = end + 1;
    }
    return result;
}

void failAt(std::string_view file, std::size_t line, std::string_view what) {
    throw InputError(std::string(file) + ", line " + std::to_string(line) + ": " +
                     std::string(what));
}

std::string quoted(std::string_view line) {
    constexpr std::size_t kLongest = 60;
    std::string shown;
    for (char c : line.substr(0, kLongest)) {
        const auto u = static_cast<unsigned char>(c);
        shown += (u < 0x20 || u == 0x7f) ? '?' : c;
    }
    return "\"" + shown + (line.size() > kLongest ? "...\"" : "\"");
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
    if (word.empty() || ec != std::errc() || end != word.data() + word.size()) {
        failAt(file, line, "not a whole number: " + quoted(word));
    }
    return value;
}
