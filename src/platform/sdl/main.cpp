// The process entry of the real program: the sdl back end hands control to the
// program's own entry at once; there are no command-line arguments to read.
// Without a display nothing starts: no window, no media written.
#include "platform/platform.h"
#include "platform/sdl/process.h"

int main()
{
    if (!platform::sdl::openDisplay()) {
        platform::sdl::shutdown();
        return platform::sdl::exitNoDisplay;
    }
    const int exitCode = platform::programEntry();
    platform::sdl::shutdown();
    return exitCode;
}
