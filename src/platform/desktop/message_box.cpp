// Message boxes of the desktop back end. When no box can be shown at all (no display),
// the text goes to stderr and the box counts as answered OK / Yes, so start-up
// carries on as it would after a click.
#include <cstdio>
#include <string>

#include "platform/common/text.h"
#include "platform/sdl/state.h"

namespace platform {

namespace {

constexpr int buttonNo = 0;
constexpr int buttonYes = 1;
constexpr int buttonOk = 2;

Uint32 iconFlags(Icon icon)
{
    switch (icon) {
    case Icon::Exclamation:
        return SDL_MESSAGEBOX_WARNING;
    case Icon::Error:
        return SDL_MESSAGEBOX_ERROR;
    default:
        return 0;
    }
}

// A box under a desktop-sized window must still be seen: it is then owned by it.
SDL_Window* ownerFor(bool ownedByFocus)
{
    if (ownedByFocus) return SDL_GetKeyboardFocus();
    SDL_Window* window = sdl::state.window;
    if (window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return window;
    return nullptr;
}

Answer answerFor(Buttons buttons, int pressed)
{
    if (buttons == Buttons::Ok) return Answer::Ok;
    return pressed == buttonYes ? Answer::Yes : Answer::No;  // closing the box says No
}

}  // namespace

Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon, bool ownedByFocus)
{
    const std::string message = windows1252ToUtf8(text ? text : "");
    const std::string title = windows1252ToUtf8(caption ? caption : "");
    const SDL_MessageBoxButtonData yesNo[] = {{SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, buttonNo, "No"},
                                              {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, buttonYes, "Yes"}};
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, buttonOk, "OK"}};
    SDL_MessageBoxData box = {};
    box.flags = iconFlags(icon);
    box.window = ownerFor(ownedByFocus);
    box.title = title.c_str();
    box.message = message.c_str();
    box.numbuttons = buttons == Buttons::YesNo ? 2 : 1;
    box.buttons = buttons == Buttons::YesNo ? yesNo : ok;
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    return answerFor(buttons, pressed);
}

}  // namespace platform
