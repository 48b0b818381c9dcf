#include "analysis/compute/single_origin_fit_for_comparison.h"

#include <cmath>
#include <limits>

std::vector<double> localLogSlopes(std::span<const double> time, std::span<const double> msd) {
    const std::size_t n = time.size();
    std::vector<double> slopes(n, std::numeric_limits<double>::quiet_NaN());
    const auto usable = [&](std::size_t i) { return time[i] > 0.0 && msd[i] > 0.0; };
    const auto point = [&](std::size_t i) {
        return pointMoments(std::log(time[i]), std::log(msd[i]));
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

std::optional<SingleOriginFit> fitSingleOrigin(std::span<const double> time,
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
    SingleOriginFit fit{bestFirst, bestFirst + bestLength - 1, {}};
    const Moments moments = momentsOf(t, m, fit.first, fit.last);
    fit.line = lineThrough(moments);
    fit.line.slopeError = slopeError(moments, fit.line, t, m, fit.first, fit.last);
    return fit;
}
