// The process entry of the web page, called by the page's start click once
// stuff.dat is in place. The page's canvas is the display: there is always one to
// show on. At the end the page offers to watch the show again.
#include "platform/platform.h"
#include "platform/sdl/state.h"
#include "platform/web/page.h"

int main()
{
    const int exitCode = platform::programEntry();
    platform::sdl::shutdown();
    platform::web::programEnded();
    return exitCode;
}
