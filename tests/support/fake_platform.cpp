// The device-free platform behind the application frame's unit tests.
#include "support/fake_platform.h"

#include <algorithm>

FakePlatform fakePlatform;

int callIndex(const std::string& name)
{
    const auto& calls = fakePlatform.calls;
    auto it = std::find(calls.begin(), calls.end(), name);
    return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
}

static void record(const char* name) { fakePlatform.calls.emplace_back(name); }

namespace platform {

bool peekMessage(Message& out)
{
    record("peekMessage");
    if (fakePlatform.queue.empty()) return false;
    out = fakePlatform.queue.front();
    fakePlatform.queue.pop_front();
    return true;
}

// Letters and Escape produce a character, queued behind what is pending.
void translateMessage(const Message& message)
{
    record("translateMessage");
    if (message.kind != MessageKind::KeyDown) return;
    Message character;
    character.kind = MessageKind::Char;
    character.wParam = message.wParam;
    fakePlatform.queue.push_back(character);
}

long dispatchMessage(const Message& message)
{
    record("dispatchMessage");
    fakePlatform.dispatched.push_back(message);
    return fakePlatform.proc ? fakePlatform.proc(message) : 0;
}

long defaultWindowProc(const Message&)
{
    record("defaultWindowProc");
    return 0;
}

void postQuitMessage(int exitCode)
{
    record("postQuitMessage");
    Message quit;
    quit.kind = MessageKind::Quit;
    quit.wParam = static_cast<std::uint32_t>(exitCode);
    fakePlatform.queue.push_back(quit);
}

bool registerWindowClass(WindowProc proc)
{
    record("registerWindowClass");
    if (fakePlatform.failRegister) return false;
    fakePlatform.proc = proc;
    return true;
}

bool changeDisplayMode(int, int, int)
{
    record("changeDisplayMode");
    return !fakePlatform.failDisplayMode;
}

void restoreDisplayMode() { record("restoreDisplayMode"); }

void screenSize(int& width, int& height)
{
    width = fakePlatform.screenWidth;
    height = fakePlatform.screenHeight;
}

bool createWindow(const char*, int x, int y, int, int, WindowStyle style)
{
    record("createWindow");
    fakePlatform.windowX = x;
    fakePlatform.windowY = y;
    fakePlatform.style = style;
    return !fakePlatform.failCreateWindow;
}

void destroyWindow() { record("destroyWindow"); }

bool createGlContext(int, int)
{
    record("createGlContext");
    return !fakePlatform.failGlContext;
}

void destroyGlContext() { record("destroyGlContext"); }
void showWindow() { record("showWindow"); }

void swapBuffers()
{
    record("swapBuffers");
    ++fakePlatform.swaps;
    fakePlatform.counter += fakePlatform.ticksPerSwap;
    if (fakePlatform.onSwap) fakePlatform.onSwap();
}

int pixelScale() { return fakePlatform.scale; }

void perspective(double fovy, double aspect, double zNear, double zFar)
{
    record("perspective");
    double* args = fakePlatform.perspectiveArgs;
    args[0] = fovy;
    args[1] = aspect;
    args[2] = zNear;
    args[3] = zFar;
}

Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon, bool)
{
    record("messageBox");
    fakePlatform.boxes.push_back({text, caption, buttons, icon});
    return buttons == Buttons::Ok ? Answer::Ok : fakePlatform.answer;
}

void showCursor(bool visible)
{
    record(visible ? "showCursor" : "hideCursor");
    fakePlatform.cursorVisible = visible;
}

void setCursorPos(int, int) {}
void getCursorPos(int& x, int& y) { x = y = 0; }
bool asyncLeftButton() { return false; }

std::int64_t counterFrequency() { return fakePlatform.frequency; }
std::int64_t counterNow() { return fakePlatform.counter; }
std::uint32_t tickCount() { return 0; }
void yieldProcessor() { record("yieldProcessor"); }

bool deleteFile(const char*) { return false; }
std::string currentDirectory() { return "."; }
std::string tempDirectory() { return "/tmp"; }
std::FILE* createNewFile(const char*, bool) { return nullptr; }
std::FILE* openPrivateFile(const char*, bool) { return nullptr; }

}  // namespace platform
