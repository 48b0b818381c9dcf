#include "analysis/sample_files.h"

#include <string>

namespace {

// Samples are taken at increasing times; anything else is a damaged or concatenated file.
template <typename Sample>
void checkTimeIncreases(const std::vector<Sample>& earlier, const Sample& next,
                        const LineReader& in) {
    if (!earlier.empty() && !(next.time > earlier.back().time)) {
        failAt(in.name(), in.lineNumber(), "the time does not increase from the line before");
    }
}

// The next line, none at the end of the file; a line beyond `mostLines` is refused.
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

}  // namespace

EnergyFile readEnergyFile(LineReader& in, std::size_t mostLines) {
    EnergyFile result;
    result.name = in.name();
    while (const auto line = nextSampleLine(in, mostLines)) {
        const auto fields = splitFields(*line);
        if (fields.size() != 5) {
            failAt(in.name(), in.lineNumber(),
                   "expected \"time, KE+PE, KE, PE, T\", found " + quoted(*line));
        }
        const auto number = [&](std::size_t i) {
            return parseNumber(fields[i], in.name(), in.lineNumber());
        };
        EnergySample s;
        s.time = number(0);
        s.total = number(1);
        s.kinetic = number(2);
        s.potential = number(3);
        s.temperature = number(4);
        checkTimeIncreases(result.samples, s, in);
        result.samples.push_back(s);
    }
    result.incompleteLastLine = in.incompleteLastLine();
    return result;
}

MsdFile readMsdFile(LineReader& in, std::size_t mostLines) {
    MsdFile result;
    result.name = in.name();
    while (const auto line = nextSampleLine(in, mostLines)) {
        const auto fields = splitFields(*line);
        // The simulation ends each line with a separator, which leaves an empty third field.
        const bool shaped = fields.size() == 2 || (fields.size() == 3 && fields[2].empty());
        if (!shaped) {
            failAt(in.name(), in.lineNumber(), "expected \"time,  MSD, \", found " + quoted(*line));
        }
        MsdSample s;
        s.time = parseNumber(fields[0], in.name(), in.lineNumber());
        s.msd = parseNumber(fields[1], in.name(), in.lineNumber());
        if (s.msd < 0.0) {
            failAt(in.name(), in.lineNumber(), "a mean squared displacement cannot be negative");
        }
        checkTimeIncreases(result.samples, s, in);
        result.samples.push_back(s);
    }
    result.incompleteLastLine = in.incompleteLastLine();
    return result;
}
