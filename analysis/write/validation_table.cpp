#include "analysis/write/validation_table.h"

#include <algorithm>
#include <cmath>

#include "analysis/formatted.h"

namespace {

constexpr double kAgreesWithin = 2.0;   // standard errors
constexpr double kDiffersBeyond = 3.0;  // standard errors

// Decimal places that show `error` to two significant digits (none for an error of 10 or more).
int placesFor(double error) {
    if (!(error > 0.0) || !std::isfinite(error)) return -1;
    return std::clamp(1 - static_cast<int>(std::floor(std::log10(error))), 0, 12);
}

// Characters as a terminal shows them: UTF-8 continuation bytes take no column.
std::size_t columns(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void addEnergyRows(std::vector<CheckRow>& rows, const RunCheck& c) {
    for (const EnergyComparison& e : c.energy) {
        rows.push_back(
            {"U_res, J/mol", withError(e.corrected, e.standardError),
             toPlaceOf(e.reference, e.standardError) + " (" + modelAbbreviation(e.model) + ")",
             differenceText(e.difference)});
    }
}

void addPressureRows(std::vector<CheckRow>& rows, const RunCheck& c) {
    for (const PressureComparison& p : c.pressure) {
        const double error = p.standardError / p.kinetic;  // of Z
        rows.push_back({"Z", withError(p.runZ, error),
                        toPlaceOf(p.referenceZ, error) + " (" + modelAbbreviation(p.model) + ")",
                        differenceText(p.difference)});
    }
}

void addDiffusionRow(std::vector<CheckRow>& rows, const RunCheck& c) {
    if (!c.diffusion) return;
    const DiffusionCheck& d = *c.diffusion;
    const double low = std::min(d.enskogSigma, d.enskogDiameter);
    const double high = std::max(d.enskogSigma, d.enskogDiameter);
    rows.push_back({"D, Å²/ps", withError(d.infinite.value, d.infinite.error),
                    toPlaceOf(low, d.infinite.error) + " to " + toPlaceOf(high, d.infinite.error) +
                        " (Enskog)",
                    differenceText(d.difference)});
}

void addPeakRows(std::vector<CheckRow>& rows, const RunCheck& c) {
    if (!c.peak) return;
    const PeakCheck& p = *c.peak;
    if (p.runPosition && p.positionDifference) {
        rows.push_back({"g(r) peak at, Å", withError(p.runPosition->value, p.runPosition->error),
                        toPlaceOf(p.position, p.runPosition->error) + " (ρ expansion)",
                        differenceText(*p.positionDifference)});
    }
    if (p.runHeight && p.heightDifference) {
        rows.push_back({"g(r) peak, g", withError(p.runHeight->value, p.runHeight->error),
                        toPlaceOf(p.height, p.runHeight->error) + " (ρ expansion)",
                        differenceText(*p.heightDifference)});
    }
}

}  // namespace

const char* verdict(double difference) {
    const double size = std::abs(difference);
    return size <= kAgreesWithin ? "agrees" : size <= kDiffersBeyond ? "marginal" : "differs";
}

// The word follows the figure as printed, so that "+2.0" never reads "marginal".
std::string differenceText(double difference) {
    const double shown = std::round(difference * 10.0) / 10.0 + 0.0;  // no "-0.0"
    return formatted("%+.1f %s", shown, verdict(shown));
}

std::string toPlaceOf(double value, double error) {
    const int places = placesFor(error);
    return places < 0 ? formatted("%.6g", value) : formatted("%.*f", places, value);
}

std::string withError(double value, double error) {
    const int places = placesFor(error);
    if (places < 0) return formatted("%.6g", value);
    return formatted("%.*f ± %.*f", places, value, places, error);
}

std::vector<CheckRow> validationRows(const RunCheck& check) {
    std::vector<CheckRow> rows;
    addEnergyRows(rows, check);
    addPressureRows(rows, check);
    addDiffusionRow(rows, check);
    addPeakRows(rows, check);
    return rows;
}

std::vector<std::string> tableLines(const std::vector<CheckRow>& rows, const char* indent) {
    std::vector<CheckRow> all = {{"observable", "this run", "reference", "difference"}};
    all.insert(all.end(), rows.begin(), rows.end());
    std::size_t width[3] = {0, 0, 0};
    for (const CheckRow& row : all) {
        width[0] = std::max(width[0], columns(row.observable));
        width[1] = std::max(width[1], columns(row.thisRun));
        width[2] = std::max(width[2], columns(row.reference));
    }
    std::vector<std::string> lines;
    for (const CheckRow& row : all) {
        std::string line = indent;
        const std::string* cells[3] = {&row.observable, &row.thisRun, &row.reference};
        for (int i = 0; i < 3; ++i) {
            line += *cells[i] + std::string(width[i] + 2 - columns(*cells[i]), ' ');
        }
        lines.push_back(line + row.difference);
    }
    return lines;
}
