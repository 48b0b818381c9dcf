#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "report/standard_streams.h"

// POSIX streams are bytes already. A closed descriptor 0, 1 or 2 would be handed to the next
// file opened, so a closed one is opened on the null device.
bool prepareStandardStreams() {
    bool outputWasClosed = false;
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // open() takes the lowest free descriptor, which is this one: the lower ones are open.
        const int opened = ::open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        if (opened != descriptor && opened >= 0) {
            ::close(opened);
        }
        outputWasClosed = outputWasClosed || descriptor == 1;
    }
    return outputWasClosed;
}
