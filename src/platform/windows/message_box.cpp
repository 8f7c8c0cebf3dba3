// Message boxes of the desktop back end on Windows: the system's own box, with the
// program's Windows-1252 texts turned into the system's wide characters (so that
// "l\xF6kj" reads "lökj" whatever code page the user's system uses).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <SDL_syswm.h>

#include "platform/sdl/state.h"
#include "platform/windows/wide.h"

namespace platform {

namespace {

UINT iconFlags(Icon icon)
{
    switch (icon) {
    case Icon::Exclamation:
        return MB_ICONEXCLAMATION;
    case Icon::Error:
        return MB_ICONERROR;
    default:
        return 0;
    }
}

HWND windowHandle(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info)) return nullptr;
    return info.info.win.window;
}

// A box under a desktop-sized window must still be seen: it is then owned by it.
HWND ownerFor(bool ownedByFocus)
{
    if (ownedByFocus) return GetFocus();
    SDL_Window* window = sdl::state.window;
    if (window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return windowHandle(window);
    return nullptr;
}

}  // namespace

Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon, bool ownedByFocus)
{
    const std::wstring message = windows::widen(text ? text : "", windows::programCodePage);
    const std::wstring title = windows::widen(caption ? caption : "", windows::programCodePage);
    const UINT kind = buttons == Buttons::YesNo ? MB_YESNO : MB_OK;
    const int pressed =
        MessageBoxW(ownerFor(ownedByFocus), message.c_str(), title.c_str(), kind | iconFlags(icon));
    if (buttons == Buttons::Ok) return Answer::Ok;
    return pressed == IDYES ? Answer::Yes : Answer::No;
}

}  // namespace platform
