#pragma once

#include <cstdint>

// The program's own 15-bit linear congruential generator, so that every run, on every
// platform, starts from the same configuration.
class RandomSource {
  public:
    // Sets the state and discards one value.
    void seed(std::uint32_t value);
    // Next value, 0 to 32767.
    int next();

  private:
    std::uint32_t state_ = 0;  // arithmetic modulo 2^32
};

// The one process-wide source, seeded with 1 during start-up, before `main` runs.
extern RandomSource randomSource;
