#pragma once

// Sets the x87 control word to a 64-bit significand and rounding to nearest, before any formula
// runs. The extended arithmetic carries its intermediates in long double, which on x86 is the
// x87 register: its operations round to the significand the control word's precision field
// names, not to the type's 64 bits. Linux starts a process with 64 bits; Windows starts it
// with 53 (its default for 32-bit and 64-bit processes alike), which would make extended
// intermediates double-rounded ones. mingw-w64's start-up code does reset the field to 64 bits
// (its _fpreset runs fninit), but that is a detail of that runtime, so the program sets what
// it depends on itself. Elsewhere than x86 this does nothing.
void useFullX87Precision();
