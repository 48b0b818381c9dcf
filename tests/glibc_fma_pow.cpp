// Exit status 0 when the C library's pow is glibc's built with FMA, with whose rounding the runs
// of the C library's pow are pinned; otherwise 1 and the reason. 191^7 2^-56 lies exactly on a
// rounding midpoint, and glibc's pow without FMA rounds it the other way.
#include <cmath>
#include <cstdio>

int main() {
#if defined(__x86_64__) && defined(__GLIBC__)
    volatile double s = 0x1.7ep-1;  // not folded by the compiler
    if (std::pow(s, 7.0) == 0x1.079005ddc1a9fp-3) {
        return 0;
    }
#endif
    std::puts(
        "the runs with the C library's pow are pinned for glibc's pow built with FMA on "
        "x86-64; this pow is another, so its runs differ");
    return 1;
}
