// The desktop back end and the SDL library under it: key codes, events, and a real
// window (SDL's offscreen driver) whose swap scales the program's picture into it
// with bars.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include "platform/platform.h"
#include "platform/desktop/process.h"
#include "platform/sdl/keys.h"
#include "platform/sound.h"
#include "tiny_module.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

int platform::programEntry() { return 0; }  // the desktop's process entry is not used here

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

struct KeyCase {
    SDL_Keycode key;
    SDL_Scancode scancode;
    std::uint32_t expected;
};

void expectKeys(const std::vector<KeyCase>& cases, bool numLock, const char* group)
{
    for (const KeyCase& c : cases)
        EXPECT_EQ(virtualKeyFor(c.key, c.scancode, numLock), c.expected)
            << group << ": scancode " << c.scancode;
}

// What SDL reports for a key that types no character.
KeyCase placed(SDL_Scancode scancode, std::uint32_t expected)
{
    return {SDL_SCANCODE_TO_KEYCODE(scancode), scancode, expected};
}

// Letters and digits as the layout has them, every other key by its place.
TEST(SdlKeys, MapsEveryKeyToItsWindowsVirtualKey)
{
    expectKeys({{SDLK_a, SDL_SCANCODE_A, 65},
                {SDLK_z, SDL_SCANCODE_Z, 90},
                {SDLK_y, SDL_SCANCODE_Z, 89},                   // German layout
                {0x043E /* Cyrillic o */, SDL_SCANCODE_J, 74},  // non-Latin layout: the key's place
                {SDLK_m, SDL_SCANCODE_SEMICOLON, 77},  // French layout: letter on a punctuation place
                {SDLK_COMMA, SDL_SCANCODE_M, 0xBC},    // ... and punctuation on a letter place
                {SDLK_AMPERSAND, SDL_SCANCODE_1, 49},  // ... and its digit row
                {SDLK_0, SDL_SCANCODE_0, 48},
                {SDLK_9, SDL_SCANCODE_9, 57}},
               true, "layout");
    expectKeys({{SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA},
                {SDLK_EQUALS, SDL_SCANCODE_EQUALS, 0xBB},
                {SDLK_SLASH, SDL_SCANCODE_SLASH, 0xBF},
                {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 0xC0},
                {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, 0xDB},
                {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0xDE},
                {0xDF /* sharp s */, SDL_SCANCODE_MINUS, 0xBD},
                {0xF6 /* o umlaut */, SDL_SCANCODE_SEMICOLON, 0xBA}},
               true, "punctuation by US place");
    expectKeys({placed(SDL_SCANCODE_LSHIFT, 0x10), placed(SDL_SCANCODE_RSHIFT, 0x10),
                placed(SDL_SCANCODE_LCTRL, 0x11), placed(SDL_SCANCODE_RCTRL, 0x11),
                placed(SDL_SCANCODE_RALT, 0x12), placed(SDL_SCANCODE_CAPSLOCK, 0x14),
                placed(SDL_SCANCODE_PAUSE, 0x13), placed(SDL_SCANCODE_NUMLOCKCLEAR, 0x90)},
               true, "modifiers and locks");
    expectKeys({placed(SDL_SCANCODE_PAGEUP, 0x21),
                placed(SDL_SCANCODE_PAGEDOWN, 0x22),
                placed(SDL_SCANCODE_HOME, 0x24),
                placed(SDL_SCANCODE_LEFT, 0x25),
                placed(SDL_SCANCODE_DOWN, 0x28),
                placed(SDL_SCANCODE_INSERT, 0x2D),
                placed(SDL_SCANCODE_DELETE, 0x2E),
                {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},
                {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
                {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8}},
               true, "editing and navigation");
    expectKeys({placed(SDL_SCANCODE_F1, 0x70), placed(SDL_SCANCODE_F12, 0x7B), placed(SDL_SCANCODE_F13, 0x7C),
                placed(SDL_SCANCODE_F24, 0x87)},
               true, "function keys");
    expectKeys({placed(SDL_SCANCODE_KP_0, 0x60), placed(SDL_SCANCODE_KP_1, 0x61),
                placed(SDL_SCANCODE_KP_9, 0x69), placed(SDL_SCANCODE_KP_MULTIPLY, 0x6A),
                placed(SDL_SCANCODE_KP_PERIOD, 0x6E), placed(SDL_SCANCODE_KP_DIVIDE, 0x6F),
                placed(SDL_SCANCODE_KP_ENTER, 0x0D)},
               true, "keypad with Num Lock");
    expectKeys({placed(SDL_SCANCODE_KP_7, 0x24), placed(SDL_SCANCODE_KP_5, 0x0C),
                placed(SDL_SCANCODE_KP_3, 0x22), placed(SDL_SCANCODE_KP_0, 0x2D),
                placed(SDL_SCANCODE_KP_PERIOD, 0x2E), placed(SDL_SCANCODE_KP_MINUS, 0x6D)},
               false, "keypad without Num Lock");
    expectKeys({placed(SDL_SCANCODE_VOLUMEUP, 0xAF), placed(SDL_SCANCODE_LANG1, 0xFF)}, true, "others");
}

TEST(SdlKeys, AltAndF10AreTheSystemsKeys)
{
    EXPECT_TRUE(isSystemKey(0x79, false));  // F10
    EXPECT_TRUE(isSystemKey(0x12, false));  // Alt itself
    EXPECT_TRUE(isSystemKey(65, true));     // Alt+A
    EXPECT_FALSE(isSystemKey(65, false));
    EXPECT_FALSE(isSystemKey(0x10, false));  // Shift
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
    platform::desktop::shutdown();
}

TEST(SdlWindow, MessageBoxWithoutADisplayAnswersYes)
{
    // With no display at all there is no way to show a box: the text goes to stderr.
    if (SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY"))
        GTEST_SKIP() << "a real box would wait for a click";
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
    SDL_Delay(100);                      // the audio thread mixes meanwhile
    EXPECT_TRUE(FMUSIC_PlaySong(song));  // again: from the start
    SDL_Delay(50);
    EXPECT_TRUE(FMUSIC_FreeSong(song));
    FSOUND_Close();
    EXPECT_EQ(FMUSIC_LoadSong(path.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), soundErrorUninitialized);
    if (before)
        setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    std::remove(path.c_str());
}

}  // namespace

namespace {

void pushKey(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, Uint16 modifiers = KMOD_NONE,
             bool repeat = false)
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
    pushKey(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);          // system key
    pushKey(SDL_KEYDOWN, SDLK_F10, SDL_SCANCODE_F10);                   // system key
    pushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);  // the back end's own
    pushKey(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL);               // Control, as the key down has it
    pushKey(SDL_KEYDOWN, SDLK_RSHIFT, SDL_SCANCODE_RSHIFT);
    pushMotion(50, 60, 0);
    pushMotion(100, 200, SDL_BUTTON_LMASK);  // merged into the move before
    SDL_Event finger = {};
    finger.type = SDL_FINGERMOTION;  // SDL has said it as the mouse move: no message
    SDL_PushEvent(&finger);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 101, 201);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 101, 201);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 102, 202);
    pushWindowClose();

    using platform::MessageKind;
    const struct {
        MessageKind kind;
        std::uint32_t wParam;
        int x, y;
    } expected[] = {
        {MessageKind::KeyDown, 'A', -1, -1},    {MessageKind::KeyDown, 'A', -1, -1},
        {MessageKind::KeyUp, 'A', -1, -1},      {MessageKind::Other, 0, -1, -1},
        {MessageKind::Other, 0, -1, -1},        {MessageKind::KeyDown, 0x11, -1, -1},
        {MessageKind::KeyDown, 0x10, -1, -1},   {MessageKind::MouseMove, 1, 100, 200},
        {MessageKind::ButtonDown, 1, 101, 201}, {MessageKind::Other, 0, -1, -1},
        {MessageKind::ButtonUp, 0, 102, 202},   {MessageKind::Close, 0, -1, -1},
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
    EXPECT_TRUE(platform::asyncLeftButton());  // pressed since the last query
    EXPECT_FALSE(platform::asyncLeftButton());
    int x = 0, y = 0;
    platform::getCursorPos(x, y);
    EXPECT_EQ(x, 102);
    EXPECT_EQ(y, 202);
    platform::desktop::shutdown();
}

}  // namespace
