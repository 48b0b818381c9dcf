#pragma once

// Readies the standard streams before any data file is created. Returns whether standard output
// was closed: the log then goes nowhere, which the caller reports.
// - A data file must never take the place of a closed standard stream and receive the log.
// - The log's bytes must reach the system as written: CR LF stays CR LF.
// The platform's part is in standard_streams_posix.cpp or standard_streams_windows.cpp.
bool prepareStandardStreams();
