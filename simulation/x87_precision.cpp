#include "simulation/x87_precision.h"

void useFullX87Precision() {
#if defined(__i386__) || defined(__x86_64__)
    constexpr unsigned short kPrecisionAndRounding = 0x0F00;  // bits 8-9 and 10-11
    constexpr unsigned short kSignificand64 = 0x0300;         // precision 11, rounding 00
    unsigned short control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    control = static_cast<unsigned short>((control & ~kPrecisionAndRounding) | kSignificand64);
    __asm__ volatile("fldcw %0" : : "m"(control));
#endif
}
