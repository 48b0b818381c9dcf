// libFuzzer target: every double, as the data files and the console write it, against the C
// library's %.6g, which the run's number text is defined to be.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "report/line_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) {
        return 0;
    }
    double value;
    std::memcpy(&value, data, sizeof value);

    // A file, as the console is: the sink writes to it unbuffered, item by item.
    static std::FILE* const stream = std::tmpfile();
    std::rewind(stream);
    {
        LineSink sink(stream, "scratch");
        sink << value;
    }
    std::string written(64, '\0');
    const long length = std::ftell(stream);
    std::rewind(stream);
    written.resize(std::fread(written.data(), 1, static_cast<std::size_t>(length), stream));

    char expected[64];
    std::snprintf(expected, sizeof expected, "%.6g", value);
    if (written != expected) {
        std::fprintf(stderr, "%a is written \"%s\", %%.6g gives \"%s\"\n", value, written.c_str(),
                     expected);
        std::abort();
    }
    return 0;
}
