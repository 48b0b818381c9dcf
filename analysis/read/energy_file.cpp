#include "analysis/read/energy_file.h"

#include "analysis/read/sample_lines.h"

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
