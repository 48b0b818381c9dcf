#include "analysis/sample_files.h"

#include <string>

#include "analysis/text_input.h"

namespace {

// Samples are taken at increasing times; anything else is a damaged or concatenated file.
template <typename Sample>
void checkTimeIncreases(const std::vector<Sample>& earlier, const Sample& next,
                        std::string_view file, std::size_t line) {
    if (!earlier.empty() && !(next.time > earlier.back().time)) {
        failAt(file, line, "the time does not increase from the line before");
    }
}

}  // namespace

EnergyFile parseEnergyFile(std::string_view text, std::string_view file) {
    const TextLines split = splitLines(text);
    EnergyFile result;
    result.incompleteLastLine = split.incompleteLastLine;
    for (std::size_t i = 0; i < split.lines.size(); ++i) {
        const auto fields = splitFields(split.lines[i]);
        if (fields.size() != 5) {
            failAt(file, i + 1,
                   "expected \"time, KE+PE, KE, PE, T\", found " + quoted(split.lines[i]));
        }
        EnergySample s;
        s.time = parseNumber(fields[0], file, i + 1);
        s.total = parseNumber(fields[1], file, i + 1);
        s.kinetic = parseNumber(fields[2], file, i + 1);
        s.potential = parseNumber(fields[3], file, i + 1);
        s.temperature = parseNumber(fields[4], file, i + 1);
        checkTimeIncreases(result.samples, s, file, i + 1);
        result.samples.push_back(s);
    }
    return result;
}

MsdFile parseMsdFile(std::string_view text, std::string_view file) {
    const TextLines split = splitLines(text);
    MsdFile result;
    result.incompleteLastLine = split.incompleteLastLine;
    for (std::size_t i = 0; i < split.lines.size(); ++i) {
        const auto fields = splitFields(split.lines[i]);
        // The simulation ends each line with a separator, which leaves an empty third field.
        const bool shaped = fields.size() == 2 || (fields.size() == 3 && fields[2].empty());
        if (!shaped) {
            failAt(file, i + 1, "expected \"time,  MSD, \", found " + quoted(split.lines[i]));
        }
        MsdSample s;
        s.time = parseNumber(fields[0], file, i + 1);
        s.msd = parseNumber(fields[1], file, i + 1);
        if (s.msd < 0.0) {
            failAt(file, i + 1, "a mean squared displacement cannot be negative");
        }
        checkTimeIncreases(result.samples, s, file, i + 1);
        result.samples.push_back(s);
    }
    return result;
}
