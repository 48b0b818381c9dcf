#include "analysis/formatted.h"

#include <cstdarg>
#include <cstdio>

std::string formatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    // Measured first, then written into a string of that size (its terminating NUL included).
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) {
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

namespace {

// The length of the UTF-8 sequence that starts `text`, 0 when it is none (a stray continuation
// byte, an overlong form, a surrogate, or beyond U+10FFFF); `code` is set to its code point.
std::size_t utf8Sequence(std::string_view text, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

// Characters that print nothing yet change what a terminal shows: the C1 controls, the
// zero-width and direction marks, the line and paragraph separators, the direction embeddings
// and overrides, the invisible operators and the byte-order mark.
bool invisible(char32_t code) {
    return (code >= 0x80 && code <= 0x9F) || (code >= 0x200B && code <= 0x200F) ||
           (code >= 0x2028 && code <= 0x202E) || (code >= 0x2060 && code <= 0x206F) ||
           code == 0xFEFF || (code >= 0xFFF9 && code <= 0xFFFB);
}

void appendEscaped(std::string& out, unsigned char byte) {
    switch (byte) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            out += formatted("\\x%02X", static_cast<unsigned>(byte));
    }
}

}  // namespace

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            out += text[i++];
            continue;
        }
        char32_t code = 0;
        const std::size_t length = byte < 0x80 ? 0 : utf8Sequence(text.substr(i), code);
        if (length != 0 && !invisible(code)) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        // A control character alone, or every byte of an invisible character; a byte that
        // starts no sequence alone, the next one read afresh.
        for (const std::size_t end = i + (length != 0 ? length : 1); i < end; ++i) {
            appendEscaped(out, static_cast<unsigned char>(text[i]));
        }
    }
    return out;
}

std::string displayed(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}
