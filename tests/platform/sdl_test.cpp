// The sdl back end: key codes, and a real window (SDL's offscreen driver) whose
// swap scales the program's picture into it with bars.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include "platform/platform.h"
#include "platform/sdl/keys.h"
#include "platform/sdl/process.h"
#include "platform/sound.h"
#include "tiny_module.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

int platform::programEntry() { return 0; }  // the sdl library's entry is not used here

// The system's GL drivers are unloaded again by SDL_Quit, so their own one-time
// allocations cannot be told apart in a leak check. Leaks are checked in the
// headless tests, which cover the shared code; every other sanitizer check runs here.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

// No display or sound card needed: SDL's offscreen video and silent audio drivers,
// unless the environment names others.
const bool driversChosen = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();

}  // namespace

namespace {

using platform::sdl::isSystemKey;
using platform::sdl::virtualKeyFor;

TEST(SdlKeys, MapsToWindowsVirtualKeys)
{
    const struct { SDL_Keycode key; SDL_Scancode scancode; std::uint32_t expected; } cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 65},
        {SDLK_z, SDL_SCANCODE_Z, 90},
        {SDLK_y, SDL_SCANCODE_Z, 89},           // the layout decides (German keyboard)
        {SDLK_0, SDL_SCANCODE_0, 48},
        {SDLK_9, SDL_SCANCODE_9, 57},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8},
        {SDLK_TAB, SDL_SCANCODE_TAB, 9},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},
        {SDLK_UP, SDL_SCANCODE_UP, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_F1, SDL_SCANCODE_F1, 112},
        {SDLK_F12, SDL_SCANCODE_F12, 123},
        {0x043E /* Cyrillic o */, SDL_SCANCODE_J, 74},  // non-Latin layout: the key's place
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0},
        {SDLK_F13, SDL_SCANCODE_F13, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(virtualKeyFor(c.key, c.scancode), c.expected) << c.key;
    EXPECT_TRUE(isSystemKey(121, false));  // F10
    EXPECT_TRUE(isSystemKey(65, true));    // Alt+A
    EXPECT_FALSE(isSystemKey(65, false));
}

GLubyte* readWindowPixel(int x, int y)
{
    static GLubyte rgba[4];
    rgba[0] = rgba[1] = rgba[2] = rgba[3] = 77;  // not a colour the test draws
    auto bind = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
    bind(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba;
}

// A full-screen window takes the whole desktop; a 640 x 400 (16:10) picture is
// scaled into it with black bars on the axis where the desktop has room to spare.
TEST(SdlWindow, SwapScalesThePictureBetweenBars)
{
    ASSERT_TRUE(platform::registerWindowClass(nullptr));
    ASSERT_TRUE(platform::changeDisplayMode(640, 400, 32));
    ASSERT_TRUE(platform::createWindow("test", 0, 0, 640, 400, platform::WindowStyle::FullScreen));
    ASSERT_TRUE(platform::createGlContext(32, 16));
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), &w, &h);
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    EXPECT_EQ(w, desktop.w);
    EXPECT_EQ(h, desktop.h);
    glClearColor(1, 0, 0, 1);  // the program's clear colour must not colour the bars
    glClear(GL_COLOR_BUFFER_BIT);
    platform::swapBuffers();
    EXPECT_EQ(readWindowPixel(w / 2, h / 2)[0], 255);
    if (w * 10 < h * 16) {
        const int bar = (h - w * 10 / 16) / 2;
        EXPECT_EQ(readWindowPixel(w / 2, bar / 2)[0], 0);
        EXPECT_EQ(readWindowPixel(w / 2, h - 1 - bar / 2)[0], 0);
        EXPECT_EQ(readWindowPixel(w / 2, bar + 4)[0], 255);
    } else if (w * 10 > h * 16) {
        const int bar = (w - h * 16 / 10) / 2;
        EXPECT_EQ(readWindowPixel(bar / 2, h / 2)[0], 0);
        EXPECT_EQ(readWindowPixel(bar + 4, h / 2)[0], 255);
    }
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 1.0f);
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    EXPECT_NE(bound, 0);  // the program draws into its picture again
    platform::restoreDisplayMode();
    platform::sdl::shutdown();
}

TEST(SdlWindow, MessageBoxWithoutADisplayAnswersYes)
{
    // With no display at all there is no way to show a box: the text goes to stderr.
    if (SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "a real box would wait for a click";
    EXPECT_EQ(platform::messageBox("ERROR! windowed instead?", "ERROR", platform::Buttons::YesNo,
                                   platform::Icon::Exclamation),
              platform::Answer::Yes);
}

}  // namespace

namespace {

// With no usable sound device the show runs muted: SDL's silent driver stands in.
TEST(SdlSound, FallsBackToTheSilentDriverAndPlays)
{
    const std::string path = scratchDirectory() + "/sound_test.it";
    ASSERT_TRUE(writeFile(path, tinyModule()));
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string previous = before ? before : "";
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    EXPECT_GE(FSOUND_GetVersion(), 3.5f);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 2));
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    FMUSIC_MODULE* song = FMUSIC_LoadSong(path.c_str());
    ASSERT_NE(song, nullptr);
    EXPECT_TRUE(FMUSIC_PlaySong(song));
    SDL_Delay(100);  // the audio thread mixes meanwhile
    EXPECT_TRUE(FMUSIC_PlaySong(song));  // again: from the start
    SDL_Delay(50);
    EXPECT_TRUE(FMUSIC_FreeSong(song));
    FSOUND_Close();
    EXPECT_EQ(FMUSIC_LoadSong(path.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), soundErrorUninitialized);
    if (before) setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    else unsetenv("SDL_AUDIODRIVER");
    std::remove(path.c_str());
}

}  // namespace

namespace {

void pushKey(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, Uint16 modifiers = KMOD_NONE, bool repeat = false)
{
    SDL_Event event = {};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = modifiers;
    event.key.repeat = repeat;
    SDL_PushEvent(&event);
}

void pushMotion(int x, int y, Uint32 buttons)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.state = buttons;
    SDL_PushEvent(&event);
}

void pushButton(Uint32 type, Uint8 button, int x, int y)
{
    SDL_Event event = {};
    event.type = type;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
}

void pushWindowClose()
{
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

// SDL events as the program receives them, in a window of exactly the picture's size
// (so window and picture pixels agree).
TEST(SdlEvents, TranslatedInOrder)
{
    ASSERT_TRUE(platform::registerWindowClass(nullptr));
    ASSERT_TRUE(platform::createWindow("test", 0, 0, 640, 480, platform::WindowStyle::Overlapped));
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // whatever creating the window caused
    pushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT);
    pushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_NONE, true);  // auto-repeat
    pushKey(SDL_KEYUP, SDLK_a, SDL_SCANCODE_A);
    pushKey(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);     // system key
    pushKey(SDL_KEYDOWN, SDLK_F10, SDL_SCANCODE_F10);               // system key
    pushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);  // the back end's own
    pushKey(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL);           // unmapped
    pushMotion(100, 200, SDL_BUTTON_LMASK);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 101, 201);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 101, 201);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 102, 202);
    pushWindowClose();

    using platform::MessageKind;
    const struct { MessageKind kind; std::uint32_t wParam; int x, y; } expected[] = {
        {MessageKind::KeyDown, 'A', -1, -1},
        {MessageKind::KeyDown, 'A', -1, -1},
        {MessageKind::KeyUp, 'A', -1, -1},
        {MessageKind::Other, 0, -1, -1},
        {MessageKind::Other, 0, -1, -1},
        {MessageKind::Other, 0, -1, -1},
        {MessageKind::MouseMove, 1, 100, 200},
        {MessageKind::ButtonDown, 1, 101, 201},
        {MessageKind::Other, 0, -1, -1},
        {MessageKind::ButtonUp, 0, 102, 202},
        {MessageKind::Close, 0, -1, -1},
    };
    std::vector<platform::Message> got;
    platform::Message message;
    while (platform::peekMessage(message)) got.push_back(message);
    ASSERT_EQ(got.size(), std::size(expected));
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].kind, expected[i].kind) << i;
        EXPECT_EQ(got[i].wParam, expected[i].wParam) << i;
        if (expected[i].x >= 0) {
            EXPECT_EQ(got[i].x, expected[i].x) << i;
            EXPECT_EQ(got[i].y, expected[i].y) << i;
        }
    }
    EXPECT_TRUE(platform::asyncLeftButton());   // pressed since the last query
    EXPECT_FALSE(platform::asyncLeftButton());
    int x = 0, y = 0;
    platform::getCursorPos(x, y);
    EXPECT_EQ(x, 102);
    EXPECT_EQ(y, 202);
    platform::sdl::shutdown();
}

}  // namespace
