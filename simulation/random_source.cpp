#include "simulation/random_source.h"

void RandomSource::seed(std::uint32_t value) {
    state_ = value;
    next();
}

int RandomSource::next() {
    state_ = state_ * 22695477u + 1u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

namespace {
RandomSource seededAtStartUp() {
    RandomSource source;
    source.seed(1);
    return source;
}
}  // namespace

RandomSource randomSource = seededAtStartUp();
