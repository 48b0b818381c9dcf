#pragma once

// Makes sure descriptors 0, 1 and 2 are open before any data file is created, so that a data
// file can never take the place of a closed standard stream and receive the console log.
// A closed one is opened on the null device. Returns whether standard output was closed: the
// log then goes nowhere, which the caller reports.
bool reopenClosedStandardStreams();
