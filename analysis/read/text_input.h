#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/read/run_directory.h"

// A fault in one of the run's files. The message names the file and, where there is one, the
// line, so that it can be shown to the user as it is.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The longest line any of the run's files holds is under 100 bytes; a line longer than this is
// no line of a run, and is refused as soon as it is seen rather than read into memory.
inline constexpr std::size_t kLongestLine = 1024;

// The lines of one of the run's files, read in pieces as they are asked for: however large the
// file, no more than one piece of it is held. Lines end in CR LF; a bare LF is accepted too.
class LineReader {
  public:
    // Opens `name` in `dir`. InputError when it is missing, anything but a regular file (a FIFO
    // would block for ever, a device such as /dev/zero never ends), or cannot be opened.
    LineReader(const RunDirectory& dir, const char* name);
    // Reads `text` as the file called `name`.
    LineReader(std::string text, std::string name);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next whole line without its line end, valid until the next call; none at the end of
    // the file. InputError for a line longer than kLongestLine and for a read error.
    std::optional<std::string_view> next();
    // The number (1-based) of the line last returned.
    std::size_t lineNumber() const { return line_; }
    // After the end: text after the last line end. The simulation ends every line it writes, so
    // this is a line it was still writing when it stopped; it is left out.
    bool incompleteLastLine() const { return incomplete_; }
    // The file as messages name it.
    const std::string& name() const { return name_; }

  private:
    // Appends what the file holds next to the buffer; false at its end.
    bool refill();
    // Refuses the text pending in the buffer, which holds no line end.
    [[noreturn]] void refuseUnended(std::string_view pending) const;

    std::unique_ptr<InputFile> file_;  // none when the text was given
    std::string name_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // pending text is buffer_[begin_, end_)
    std::size_t end_ = 0;
    std::size_t line_ = 0;
    bool atEnd_ = false;
    bool incomplete_ = false;
};

// Throws InputError for line `line` (1-based) of `file`.
[[noreturn]] void failAt(std::string_view file, std::size_t line, std::string_view what);

// The line as it can be quoted in a one-line message: shortened, and printable (formatted.h).
std::string quoted(std::string_view line);

// Words separated by spaces or tabs.
std::vector<std::string_view> splitWords(std::string_view line);

// Fields between commas, with the spaces around each removed.
std::vector<std::string_view> splitFields(std::string_view line);

// The whole of `word` as a finite number, else an InputError at the given line.
double parseNumber(std::string_view word, std::string_view file, std::size_t line);
long parseInteger(std::string_view word, std::string_view file, std::size_t line);
