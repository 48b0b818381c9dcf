#include "analysis/read/msd_file.h"

#include "analysis/read/sample_lines.h"

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
