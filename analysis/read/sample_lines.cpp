#include "analysis/read/sample_lines.h"

#include <string>

std::optional<std::string_view> nextSampleLine(LineReader& in, std::size_t mostLines) {
    const auto line = in.next();
    if ((line && in.lineNumber() > mostLines) ||
        (!line && in.incompleteLastLine() && in.lineNumber() >= mostLines)) {
        failAt(in.name(), in.lineNumber() + (line ? 0 : 1),
               "more samples than the " + std::to_string(mostLines) +
                   " frames that the header of position.dat announces");
    }
    return line;
}
