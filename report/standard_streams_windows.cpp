#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "report/standard_streams.h"

bool prepareStandardStreams() {
    // A text-mode stream writes every "\n" as "\r\n", which would turn the log's CR LF into
    // CR CR LF; in binary mode the bytes pass unchanged, Shift-JIS included.
    _setmode(_fileno(stdout), _O_BINARY);
    // The C runtime keeps descriptors 0, 1 and 2 for the standard streams even when the process
    // was started without them, so no data file can take their place.
    return false;
}
