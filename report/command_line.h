#pragma once

// The program takes no arguments: it runs its one simulation. An argument is a question or a
// mistake, and is dealt with before the run creates anything, so that neither truncates an
// earlier run's files: --help (or -h) and --version are answered on standard output, anything
// else is refused with one line on standard error.
//
// For a program started with arguments (argc > 1): answers or refuses them, and returns the exit
// status, 0 when answered, 2 when refused, 1 when the answer could not be written (said on
// standard error, as for the run). `consoleClosed` as prepareStandardStreams returned it.
int answerArguments(int argc, const char* const argv[], bool consoleClosed);
