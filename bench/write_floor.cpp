// The floor of the run's cost: the writes the program must make, and nothing else. It replays the
// files of a finished run (its console log saved as console.log beside position.dat, energy.dat
// and msd.dat) with the same write calls in the same order as the program: each data-file line
// one write as it ends, each console item (a number, a text between numbers, a line end) one
// write as it is written. No number is formed: the bytes are read once, before the first write.
//
//   argon-md-write-floor RUN_DIR
//
// It writes the console to standard output and the three files to the working directory.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const std::string& what, int error) {
    std::fprintf(stderr, "argon-md-write-floor: %s: %s\n", what.c_str(), std::strerror(error));
    std::exit(2);
}

// A file's bytes, mapped and read in before the first write.
std::string_view mapWhole(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat status {};
    if (fd < 0 || fstat(fd, &status) != 0) {
        fail("cannot open " + path, errno);
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    void* bytes = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (bytes == MAP_FAILED) {
        fail("cannot read " + path, errno);
    }
    close(fd);
    return {static_cast<const char*>(bytes), size};
}

// The lines of a file one at a time, each with its CR LF.
struct Lines {
    std::string_view rest;

    bool next(std::string_view& line) {
        if (rest.empty()) {
            return false;
        }
        const void* end = std::memchr(rest.data(), '\n', rest.size());
        const std::size_t length =
            end == nullptr ? rest.size() : static_cast<const char*>(end) - rest.data() + 1;
        line = rest.substr(0, length);
        rest.remove_prefix(length);
        return true;
    }
};

std::size_t countLines(std::string_view bytes) {
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

void writeAll(int fd, std::string_view bytes) {
    if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        fail("cannot write", errno);
    }
}

bool startsNumber(std::string_view text, std::size_t at) {
    return isDigit(text[at]) || (text[at] == '-' && at + 1 < text.size() && isDigit(text[at + 1]));
}

// A console line item by item, as the program writes it: numbers (a digit, or a minus sign
// before one, and what follows of digits, point, exponent and its sign), the texts between them
// and the line end. No Shift-JIS byte of the messages is an ASCII digit or minus sign.
void writeConsoleLine(std::string_view line) {
    const std::string_view body = line.substr(0, line.size() - 2);
    std::size_t from = 0;
    while (from < body.size()) {
        std::size_t end = from + 1;
        if (startsNumber(body, from)) {
            while (end < body.size() &&
                   (isDigit(body[end]) || body[end] == '.' || body[end] == 'e' ||
                    ((body[end] == '+' || body[end] == '-') && body[end - 1] == 'e'))) {
                ++end;
            }
        } else {
            while (end < body.size() && !startsNumber(body, end)) {
                ++end;
            }
        }
        writeAll(1, body.substr(from, end - from));
        from = end;
    }
    writeAll(1, line.substr(body.size()));
}

int create(const char* path) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
        fail(std::string("cannot create ") + path, errno);
    }
    return fd;
}

bool isSampleLine(std::string_view line) {
    return line.find("step, KE:") != std::string_view::npos;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: argon-md-write-floor RUN_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    Lines console{mapWhole(dir + "/console.log")};
    Lines positions{mapWhole(dir + "/position.dat")};
    Lines energies{mapWhole(dir + "/energy.dat")};
    Lines msd{mapWhole(dir + "/msd.dat")};

    constexpr std::size_t kHeaderLines = 3;
    constexpr std::size_t kFrameLines = 50;
    const std::size_t samples = countLines(energies.rest);
    if (countLines(msd.rest) != samples ||
        countLines(positions.rest) != kHeaderLines + kFrameLines * samples) {
        std::fprintf(stderr, "argon-md-write-floor: the files of %s are not one whole run\n",
                     dir.c_str());
        return 2;
    }

    const int positionFile = create("position.dat");
    const int energyFile = create("energy.dat");
    const int msdFile = create("msd.dat");
    std::string_view consoleLine;
    std::string_view line;
    // The set-up messages, up to the first sample's line.
    while (console.next(consoleLine) && !isSampleLine(consoleLine)) {
        writeConsoleLine(consoleLine);
    }
    for (std::size_t sample = 0; sample < samples; ++sample) {
        if (sample == 0) {
            for (std::size_t header = 0; header < kHeaderLines; ++header) {
                positions.next(line);
                writeAll(positionFile, line);
            }
        } else {
            console.next(consoleLine);
        }
        writeConsoleLine(consoleLine);
        energies.next(line);
        writeAll(energyFile, line);
        for (std::size_t atom = 0; atom < kFrameLines; ++atom) {
            positions.next(line);
            writeAll(positionFile, line);
        }
        msd.next(line);
        writeAll(msdFile, line);
    }
    close(positionFile);
    close(energyFile);
    close(msdFile);
    while (console.next(line)) {
        writeConsoleLine(line);
    }
    return 0;
}
