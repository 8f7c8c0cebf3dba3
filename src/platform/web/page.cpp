// The JavaScript side of the web back end's calls to the page. The page defines the
// Module.zw* functions (web/shell.html); a page without one still runs the show.
// Also the one call the page makes into the program: its on-screen Esc.
#include "platform/web/page.h"

#include <SDL.h>
#include <emscripten.h>

#include "platform/sdl/state.h"

// Resumes the program when the browser calls back: an asynchronous import, so the
// program's own main loop can stay a plain loop (the build lists it for ASYNCIFY).
EM_JS(void, zw_wait_for_next_frame, (), {
    Asyncify.handleSleep(function(wakeUp) {
        if (Module.zwNextFrame)
            Module.zwNextFrame(wakeUp);
        else
            requestAnimationFrame(function() { wakeUp(); });
    });
});

EM_JS(int, zw_fixed_frame_rate, (), { return Module.zwFixedFrameRate | 0; });

EM_JS(void, zw_frame_drawn, (double clockSeconds), {
    if (Module.zwFrameDrawn) Module.zwFrameDrawn(clockSeconds);
});

EM_JS(void, zw_toggle_full_screen, (), {
    if (Module.zwToggleFullScreen) Module.zwToggleFullScreen();
});

EM_JS(void, zw_program_ended, (), {
    if (Module.zwProgramEnded) Module.zwProgramEnded();
});

EM_JS(void, zw_alert, (const char* caption, const char* text),
      { alert(UTF8ToString(caption) + "\n\n" + UTF8ToString(text)); });

EM_JS(int, zw_confirm, (const char* caption, const char* text),
      { return confirm(UTF8ToString(caption) + "\n\n" + UTF8ToString(text)) ? 1 : 0; });

namespace {

void pushEscape(Uint32 type)
{
    SDL_Event event{};
    event.type = type;
    event.key.windowID = SDL_GetWindowID(platform::sdl::state.window);
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    event.key.keysym.sym = SDLK_ESCAPE;
    event.key.keysym.mod = Uint16(SDL_GetModState());
    SDL_PushEvent(&event);
}

}  // namespace

// The page's Esc key, for screens without a keyboard: a press and release of
// Escape in SDL's queue, so the program reads it exactly as the keyboard's.
extern "C" EMSCRIPTEN_KEEPALIVE void zw_press_escape()
{
    if (!platform::sdl::state.window) return;  // the show is not running
    pushEscape(SDL_KEYDOWN);
    pushEscape(SDL_KEYUP);
}

namespace platform::web {

void waitForNextFrame() { zw_wait_for_next_frame(); }
int fixedFrameRate() { return zw_fixed_frame_rate(); }
void frameDrawn(double clockSeconds) { zw_frame_drawn(clockSeconds); }
void toggleFullScreen() { zw_toggle_full_screen(); }
void programEnded() { zw_program_ended(); }
void alertBox(const char* caption, const char* text) { zw_alert(caption, text); }
bool confirmBox(const char* caption, const char* text) { return zw_confirm(caption, text) != 0; }

}  // namespace platform::web
