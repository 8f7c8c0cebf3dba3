// The process entry of the real program: the desktop back end hands control to
// the program's own entry at once; there are no command-line arguments to read.
// Without a display nothing starts: no window, no media written.
#include "platform/platform.h"
#include "platform/desktop/process.h"

int main()
{
    if (!platform::desktop::openDisplay()) {
        platform::desktop::shutdown();
        return platform::desktop::exitNoDisplay;
    }
    const int exitCode = platform::programEntry();
    platform::desktop::shutdown();
    return exitCode;
}
