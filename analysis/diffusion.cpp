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

// Count, means and centred sums of squares and products of points (x, y).
struct Moments {
    double count = 0.0;
    double meanX = 0.0;
    double meanY = 0.0;
    double sxx = 0.0;  // Σ (x − meanX)²
    double sxy = 0.0;  // Σ (x − meanX)(y − meanY)
};

// The moments of two sets of points together, from those of each: the sums about the joint
// means follow from the sums about each set's own, so no sum is ever taken about a far origin.
Moments merged(const Moments& a, const Moments& b) {
    if (a.count == 0.0) {
        return b;
    }
    if (b.count == 0.0) {
        return a;
    }
    Moments m;
    m.count = a.count + b.count;
    const double dx = b.meanX - a.meanX;
    const double dy = b.meanY - a.meanY;
    m.meanX = a.meanX + dx * (b.count / m.count);
    m.meanY = a.meanY + dy * (b.count / m.count);
    const double weight = a.count * b.count / m.count;
    m.sxx = a.sxx + b.sxx + dx * dx * weight;
    m.sxy = a.sxy + b.sxy + dx * dy * weight;
    return m;
}

double slopeOf(const Moments& m) {
    return m.sxy / m.sxx;
}

}  // namespace

std::vector<double> localLogSlopes(std::span<const double> time, std::span<const double> msd) {
    const std::size_t n = time.size();
    std::vector<double> slopes(n, std::numeric_limits<double>::quiet_NaN());
    const auto usable = [&](std::size_t i) { return time[i] > 0.0 && msd[i] > 0.0; };
    const auto point = [&](std::size_t i) {
        return Moments{1.0, std::log(time[i]), std::log(msd[i]), 0.0, 0.0};
    };
    // The span [first, end) slides forward with i since the times increase. Its moments are
    // those of a front part [first, split), kept for every possible start as the moments from
    // there to the split, merged with those of a back part [split, end) that grows as samples
    // join. When the start passes the split, the span becomes the new front part. So each
    // sample is merged in a bounded number of times, and every sum stays centred.
    std::vector<Moments> front(n + 1);
    Moments back;
    std::size_t first = 0;
    std::size_t split = 0;
    std::size_t end = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!usable(i)) {
            continue;
        }
        while (first < i && (!usable(first) || time[first] < time[i] / kLocalSlopeSpan)) {
            ++first;
        }
        while (end <= i || (end < n && usable(end) && time[end] <= time[i] * kLocalSlopeSpan)) {
            back = merged(back, point(end++));
        }
        if (first > split) {
            front[end] = Moments{};
            for (std::size_t k = end; k-- > first;) {
                front[k] = merged(point(k), front[k + 1]);
            }
            split = end;
            back = Moments{};
        }
        if (end - first >= 3) {
            slopes[i] = slopeOf(first < split ? merged(front[first], back) : back);
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
