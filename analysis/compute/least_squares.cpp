#include "analysis/compute/least_squares.h"

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
