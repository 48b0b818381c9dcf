#pragma once

#include <cstdio>
#include <string_view>

// A text destination of the run: the console or one of the data files. Every line ends with
// CR LF on every platform and reaches the system whole the moment it ends, so a run stopped
// from outside leaves only complete lines behind. The console additionally hands over every
// item as it is written.
//
// A destination that cannot be created, or a write that fails, is reported once on standard
// error with the system's reason; from then on that destination is skipped and the run goes on.
class LineSink {
  public:
    // Creates the file `path` in the working directory, truncating an existing one.
    explicit LineSink(const char* path);
    // Writes to an already open stream (standard output), unbuffered.
    LineSink(std::FILE* stream, const char* label);
    ~LineSink();
    LineSink(const LineSink&) = delete;
    LineSink& operator=(const LineSink&) = delete;

    LineSink& operator<<(std::string_view text);
    LineSink& operator<<(int value);
    LineSink& operator<<(double value);  // %.6g: six significant digits, shortest form
    void endLine();

    // Closes a file (pending bytes are written first); the console is only flushed.
    void close();
    // Reports the destination as lost for the system's reason `error`, and skips it from now on.
    void markLost(int error);
    bool failed() const { return failed_; }

  private:
    void fail(const char* action, int error);

    void write(std::string_view bytes);

    std::FILE* stream_ = nullptr;  // unbuffered: each write here is one write to the system
    char label_[256];              // the file's name, for messages
    bool ownsStream_;              // a data file, gathered a line at a time
    bool failed_ = false;
    char line_[4096];  // the data file's line so far, far longer than any line
    std::size_t lineLength_ = 0;
};
