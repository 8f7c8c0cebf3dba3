// Whether the real program has a display to show on. SDL falls back to drivers that
// show nothing (an invisible "desktop" no one sees) when no display answers; the
// program would then run unseen until killed. Those drivers are taken only when the
// user names them in SDL_VIDEODRIVER.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/desktop/process.h"
#include "platform/sdl/state.h"

namespace platform::desktop {

namespace {

const char* const invisibleDrivers[] = {"offscreen", "dummy", "evdev"};
const char* const displayVariables[] = {"DISPLAY", "WAYLAND_DISPLAY"};

bool isInvisible(const std::string& driver)
{
    for (const char* name : invisibleDrivers)
        if (SDL_strcasecmp(driver.c_str(), name) == 0) return true;
    return false;
}

// SDL_VIDEODRIVER may name several drivers, separated by commas.
bool requestedByUser(const std::string& driver)
{
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    std::string names = requested ? requested : "";
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t end = std::min(names.find(',', start), names.size());
        if (SDL_strcasecmp(names.substr(start, end - start).c_str(), driver.c_str()) == 0) return true;
        start = end + 1;
    }
    return false;
}

// "DISPLAY not set, WAYLAND_DISPLAY=wayland-0"
std::string variablesLookedAt()
{
    std::string text;
    for (const char* name : displayVariables) {
        const char* value = std::getenv(name);
        if (!text.empty()) text += ", ";
        text += value ? std::string(name) + "=" + value : std::string(name) + " not set";
    }
    return text;
}

}  // namespace

bool openDisplay()
{
    if (sdl::startVideo()) {
        const char* current = SDL_GetCurrentVideoDriver();
        const std::string driver = current ? current : "";
        if (!isInvisible(driver) || requestedByUser(driver)) return true;
    }
    std::fprintf(stderr,
                 "zwirbelalp: no display found (%s); zwirbelalp-capture records the show without a display\n",
                 variablesLookedAt().c_str());
    return false;
}

}  // namespace platform::desktop
