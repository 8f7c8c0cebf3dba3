// The process entry of the real program: the sdl back end hands control to the
// program's own entry at once; there are no command-line arguments to read.
#include "platform/platform.h"
#include "platform/sdl/process.h"

int main()
{
    const int exitCode = platform::programEntry();
    platform::sdl::shutdown();
    return exitCode;
}
