#pragma once

#include <cmath>
#include <cstddef>

// Ordinary least squares, the one fit of the report: every sum is taken about the means, so that
// points far from the origin lose no digits.

// Count, means and centred sums of squares and products of points (x, y).
struct Moments {
    double count = 0.0;
    double meanX = 0.0;
    double meanY = 0.0;
    double sxx = 0.0;  // Σ (x − meanX)²
    double sxy = 0.0;  // Σ (x − meanX)(y − meanY)
};

// The moments of one point.
inline Moments pointMoments(double x, double y) {
    return Moments{1.0, x, y, 0.0, 0.0};
}

// The moments of two sets of points together, from those of each: the sums about the joint means
// follow from the sums about each set's own (Chan, Golub and LeVeque, "Algorithms for computing
// the sample variance", The American Statistician 37, 242 (1983)).
Moments merged(const Moments& a, const Moments& b);

inline double slopeOf(const Moments& m) {
    return m.sxy / m.sxx;
}

// The moments of points i in [first, last] of (x(i), y(i)): the means first, then the sums about
// them.
template <typename X, typename Y>
Moments momentsOf(X x, Y y, std::size_t first, std::size_t last) {
    Moments m;
    m.count = static_cast<double>(last - first + 1);
    for (std::size_t i = first; i <= last; ++i) {
        m.meanX += x(i);
        m.meanY += y(i);
    }
    m.meanX /= m.count;
    m.meanY /= m.count;
    for (std::size_t i = first; i <= last; ++i) {
        m.sxx += (x(i) - m.meanX) * (x(i) - m.meanX);
        m.sxy += (x(i) - m.meanX) * (y(i) - m.meanY);
    }
    return m;
}

struct Line {
    double slope = 0.0;
    double intercept = 0.0;
    double slopeError = 0.0;  // standard error, where it was formed

    // A line through finite points can still lie beyond the range of numbers.
    bool isFinite() const {
        return std::isfinite(slope) && std::isfinite(intercept) && std::isfinite(slopeError);
    }
};

// The least-squares line y = intercept + slope x of points with moments `m`.
inline Line lineThrough(const Moments& m) {
    Line line;
    line.slope = slopeOf(m);
    line.intercept = m.meanY - line.slope * m.meanX;
    return line;
}

// The standard error of the slope of `line`, fitted to the points of moments `m`, from their
// residuals: it takes the points as independent. Needs more than two points.
template <typename X, typename Y>
double slopeError(const Moments& m, const Line& line, X x, Y y, std::size_t first,
                  std::size_t last) {
    double residuals = 0.0;
    for (std::size_t i = first; i <= last; ++i) {
        const double r = y(i) - (line.intercept + line.slope * x(i));
        residuals += r * r;
    }
    return std::sqrt(residuals / (m.count - 2.0) / m.sxx);
}
