#include "report/line_sink.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

LineSink::LineSink(const char* path) : ownsStream_(true) {
    std::snprintf(label_, sizeof label_, "%s", path);
    stream_ = std::fopen(path, "wb");
    if (stream_ == nullptr) {
        fail("cannot create", errno);
        return;
    }
    std::setvbuf(stream_, nullptr, _IONBF, 0);
}

LineSink::LineSink(std::FILE* stream, const char* label) : stream_(stream), ownsStream_(false) {
    std::snprintf(label_, sizeof label_, "%s", label);
    std::setvbuf(stream_, nullptr, _IONBF, 0);
}

LineSink::~LineSink() {
    if (ownsStream_ && stream_ != nullptr) {
        write(std::string_view(line_, lineLength_));
        std::fclose(stream_);
    }
}

// Bytes to the system, at once.
void LineSink::write(std::string_view bytes) {
    if (!failed_ && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) {
        fail("cannot write", errno);
    }
}

// A data file gathers the line and hands it over whole at its end (a line longer than the
// gathering space, which no line of a run is, goes in parts); the console hands over each item.
LineSink& LineSink::operator<<(std::string_view text) {
    if (!ownsStream_) {
        write(text);
        return *this;
    }
    if (lineLength_ + text.size() > sizeof line_) {
        write(std::string_view(line_, lineLength_));
        lineLength_ = 0;
        if (text.size() > sizeof line_) {
            write(text);
            return *this;
        }
    }
    std::memcpy(line_ + lineLength_, text.data(), text.size());
    lineLength_ += text.size();
    return *this;
}

LineSink& LineSink::operator<<(int value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return *this << std::string_view(text, static_cast<std::size_t>(result.ptr - text));
}

namespace {

// The six significant digits of |value| = m 2^e, rounded to nearest with ties to even from the
// exact binary value, as an integer n = RN(|value| 10^(5 - x)) for the decimal exponent x.
// For 10^-5 <= |value| < 10^15 the binary exponent e lies in [-70, -3] and x in [-6, 14] (one
// below the true exponent at first), so m 10^(5 - x) fits in 128 bits (below 2^90) and
// 10^(x - 5) 2^-e in 64 (below 2^63): the quotient, its remainder and so the rounding are exact.
#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Wide128;  // a GCC and Clang type, hence __extension__

std::uint64_t sixDigitsAt(std::uint64_t m, int e, int x) {
    constexpr std::uint64_t kPowersOfTen[] = {1,         10,         100,         1000,
                                              10000,     100000,     1000000,     10000000,
                                              100000000, 1000000000, 10000000000, 100000000000};
    if (x <= 5) {  // |value| 10^(5 - x) = m 10^(5 - x) / 2^-e: a shift
        const Wide128 scaled = Wide128(m) * kPowersOfTen[5 - x];
        const int shift = -e;
        const auto quotient = static_cast<std::uint64_t>(scaled >> shift);
        const Wide128 remainder = scaled & ((Wide128(1) << shift) - 1);
        const Wide128 half = Wide128(1) << (shift - 1);
        return quotient + (remainder > half || (remainder == half && quotient % 2 == 1));
    }
    const std::uint64_t divisor = kPowersOfTen[x - 5] << -e;  // below 2^63
    const std::uint64_t quotient = m / divisor;
    const std::uint64_t twiceRemainder = 2 * (m % divisor);
    return quotient +
           (twiceRemainder > divisor || (twiceRemainder == divisor && quotient % 2 == 1));
}

// `value` as %.6g writes it: six significant digits, rounded to nearest with ties to even;
// with the decimal exponent x of the rounded value, positional for -4 <= x < 6, otherwise
// d.ddddde±xx; trailing zeros and a bare point dropped. Exact integer arithmetic for the
// magnitudes a run writes, std::to_chars (the same text, more slowly) for the rest and where the
// compiler has no 128-bit integers. A run writes 161000 numbers, and std::to_chars takes
// measurably longer over them than this integer rounding.
char* writeGeneral6(double value, char* text, char* end) {
    const double magnitude = std::abs(value);
    if (!(magnitude >= 1e-5 && magnitude < 1e15)) {
        return std::to_chars(text, end, value, std::chars_format::general, 6).ptr;
    }
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t m = (bits & 0x000fffffffffffff) | 0x0010000000000000;
    const int e = static_cast<int>(bits >> 52) - 1075;
    // floor(log10 |value|) from the binary exponent, too small by at most one.
    int x = ((e + 52) * 78913) >> 18;
    std::uint64_t n = sixDigitsAt(m, e, x);
    while (n >= 1000000) {
        n = sixDigitsAt(m, e, ++x);
    }
    char digits[6];
    for (int i = 5; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    int count = 6;  // significant digits left once the trailing zeros go
    while (digits[count - 1] == '0') {
        --count;
    }
    char* out = text;
    if (value < 0) {
        *out++ = '-';
    }
    if (x >= -4 && x < 6) {
        if (x < 0) {
            *out++ = '0';
            *out++ = '.';
            for (int i = 0; i < -x - 1; ++i) {
                *out++ = '0';
            }
            for (int i = 0; i < count; ++i) {
                *out++ = digits[i];
            }
        } else {
            for (int i = 0; i <= x; ++i) {
                *out++ = digits[i];
            }
            if (count > x + 1) {
                *out++ = '.';
                for (int i = x + 1; i < count; ++i) {
                    *out++ = digits[i];
                }
            }
        }
        return out;
    }
    *out++ = digits[0];
    if (count > 1) {
        *out++ = '.';
        for (int i = 1; i < count; ++i) {
            *out++ = digits[i];
        }
    }
    *out++ = 'e';
    *out++ = x < 0 ? '-' : '+';
    const int exponent = x < 0 ? -x : x;
    *out++ = static_cast<char>('0' + exponent / 10);
    *out++ = static_cast<char>('0' + exponent % 10);
    return out;
}
#else
char* writeGeneral6(double value, char* text, char* end) {
    return std::to_chars(text, end, value, std::chars_format::general, 6).ptr;
}
#endif

}  // namespace

LineSink& LineSink::operator<<(double value) {
    char text[32];
    const char* end = writeGeneral6(value, text, text + sizeof text);
    return *this << std::string_view(text, static_cast<std::size_t>(end - text));
}

void LineSink::endLine() {
    *this << "\r\n";
    if (ownsStream_) {
        write(std::string_view(line_, lineLength_));
        lineLength_ = 0;
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
    write(std::string_view(line_, lineLength_));  // an unfinished line, as the system gets it
    lineLength_ = 0;
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
