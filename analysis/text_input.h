#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A fault in one of the run's files. The message names the file and, where there is one, the
// line, so that it can be shown to the user as it is.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The whole lines of a file's text, without their line ends.
struct TextLines {
    std::vector<std::string_view> lines;  // views into the text that was split
    // Text after the last line end. The simulation ends every line it writes, so this is a line
    // it was still writing when it stopped; it is left out.
    bool incompleteLastLine = false;
};

std::string readTextFile(const std::filesystem::path& path);

// Lines end in CR LF; a bare LF is accepted too.
TextLines splitLines(std::string_view text);

// Throws InputError for line `line` (1-based) of `file`.
[[noreturn]] void failAt(std::string_view file, std::size_t line, std::string_view what);

// The line as it can be quoted in a one-line message: shortened, control characters replaced.
std::string quoted(std::string_view line);

// Words separated by spaces or tabs.
std::vector<std::string_view> splitWords(std::string_view line);

// Fields between commas, with the spaces around each removed.
std::vector<std::string_view> splitFields(std::string_view line);

// The whole of `word` as a finite number, else an InputError at the given line.
double parseNumber(std::string_view word, std::string_view file, std::size_t line);
long parseInteger(std::string_view word, std::string_view file, std::size_t line);
