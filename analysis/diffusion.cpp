#include "analysis/diffusion.h"

#include <cmath>
#include <limits>

namespace {

struct Line {
    double slope = 0.0;
    double intercept = 0.0;
    double slopeError = 0.0;
};

// Ordinary least squares over points [first, last], about the means for accuracy.
template <typename X, typename Y>
Line leastSquares(X x, Y y, std::size_t first, std::size_t last) {
    const double n = static_cast<double>(last - first + 1);
    double meanX = 0.0;
    double meanY = 0.0;
    for (std::size_t i = first; i <= last; ++i) {
        meanX += x(i);
        meanY += y(i);
    }
    meanX /= n;
    meanY /= n;
    double sxx = 0.0;
    double sxy = 0.0;
    for (std::size_t i = first; i <= last; ++i) {
        sxx += (x(i) - meanX) * (x(i) - meanX);
        sxy += (x(i) - meanX) * (y(i) - meanY);
    }
    Line line;
    line.slope = sxy / sxx;
    line.intercept = meanY - line.slope * meanX;
    if (n > 2.0) {
        double residuals = 0.0;
        for (std::size_t i = first; i <= last; ++i) {
            const double r = y(i) - (line.intercept + line.slope * x(i));
            residuals += r * r;
        }
        line.slopeError = std::sqrt(residuals / (n - 2.0) / sxx);
    }
    return line;
}

}  // namespace

std::vector<double> localLogSlopes(std::span<const double> time, std::span<const double> msd) {
    const std::size_t n = time.size();
    std::vector<double> slopes(n, std::numeric_limits<double>::quiet_NaN());
    const auto usable = [&](std::size_t i) { return time[i] > 0.0 && msd[i] > 0.0; };
    const auto logT = [&](std::size_t i) { return std::log(time[i]); };
    const auto logMsd = [&](std::size_t i) { return std::log(msd[i]); };
    // The span slides forward with i since the times increase.
    std::size_t first = 0;
    std::size_t last = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!usable(i)) {
            continue;
        }
        while (first < i && (!usable(first) || time[first] < time[i] / kLocalSlopeSpan)) {
            ++first;
        }
        last = std::max(last, i);
        while (last + 1 < n && usable(last + 1) && time[last + 1] <= time[i] * kLocalSlopeSpan) {
            ++last;
        }
        if (last - first + 1 >= 3) {
            slopes[i] = leastSquares(logT, logMsd, first, last).slope;
        }
    }
    return slopes;
}

std::optional<DiffusionFit> fitDiffusion(std::span<const double> time,
                                         std::span<const double> msd) {
    const std::vector<double> slopes = localLogSlopes(time, msd);
    // Longest run of diffusive samples; a later run wins a tie, being further from the start.
    std::size_t bestFirst = 0;
    std::size_t bestLength = 0;
    std::size_t runFirst = 0;
    for (std::size_t i = 0; i <= slopes.size(); ++i) {
        const bool diffusive =
            i < slopes.size() && std::abs(slopes[i] - 1.0) <= kDiffusiveSlopeTolerance;
        if (!diffusive) {
            if (i - runFirst >= bestLength && i > runFirst) {
                bestFirst = runFirst;
                bestLength = i - runFirst;
            }
            runFirst = i + 1;
        }
    }
    if (bestLength < kMinimumFitPoints) {
        return std::nullopt;
    }
    const auto t = [&](std::size_t i) { return time[i]; };
    const auto m = [&](std::size_t i) { return msd[i]; };
    const std::size_t last = bestFirst + bestLength - 1;
    const Line line = leastSquares(t, m, bestFirst, last);
    return DiffusionFit{bestFirst, last, line.slope, line.slopeError, line.intercept};
}
