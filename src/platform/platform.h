// The platform layer: everything the program asks of the operating system, the
// window system and GL set-up, in the program's own terms. Three back ends implement
// it (desktop: the real window; web: the page's canvas; headless: off-screen,
// virtual clock, scripted input); the code above this header cannot tell which one
// it runs on. The desktop and the web share what they do alike on SDL (sdl/).
//
// GL drawing calls themselves (glBegin, glBindTexture ...) are made directly by the
// program through <GL/gl.h>; this layer only creates the context and stands in for
// the one GLU call the program uses (perspective).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

// ---------------------------------------------------------------- messages

enum class MessageKind : std::uint32_t {
    Quit,        // posted by postQuitMessage; wParam = exit code
    Close,       // the user asked the window to close
    KeyDown,     // wParam = Windows virtual-key code (letters 65..90 whatever the shift state, Escape 27)
    KeyUp,       // wParam = virtual-key code
    Char,        // produced by translateMessage from a key down; wParam = character
    MouseMove,   // wParam = button bits (mouseLeftButtonBit); x, y = pointer in picture pixels
    ButtonDown,  // left mouse button pressed
    ButtonUp,    // left mouse button released
    Other,       // anything else (system keys such as Alt combinations and F10, focus, ...)
};

constexpr std::uint32_t keyEscape = 27;
constexpr std::uint32_t mouseLeftButtonBit = 0x0001;

struct Message {
    MessageKind kind = MessageKind::Other;
    std::uint32_t wParam = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The window procedure: called by dispatchMessage for every dispatched message.
using WindowProc = long (*)(const Message&);

// Takes one pending message off the queue without waiting; false when none is pending.
bool peekMessage(Message& out);
// Key downs that produce a character queue a Char message behind the pending ones.
void translateMessage(const Message& message);
// Hands the message to the registered window procedure and returns its result.
long dispatchMessage(const Message& message);
// What the system does with a message the program does not handle (nothing here).
long defaultWindowProc(const Message& message);
// Queues the quit message behind everything already pending.
void postQuitMessage(int exitCode);

// ---------------------------------------------------------------- window and GL

enum class WindowStyle { FullScreen, Borderless, Overlapped };

// Prepares window creation with the given procedure; false when the window system
// is not available at all.
bool registerWindowClass(WindowProc proc);
// Makes the display show width x height at bits per pixel for full-screen running.
// (The desktop back end takes the desktop full screen and scales a width x height
// picture into it with its aspect kept; false only when no full-screen window can be
// had.)
bool changeDisplayMode(int width, int height, int bitsPerPixel);
// Gives the display its own mode back (no-op when nothing was changed).
void restoreDisplayMode();
// Size of the primary screen in pixels.
void screenSize(int& width, int& height);
// Creates the top-level window; x, y, width and height are its outer geometry.
bool createWindow(const char* title, int x, int y, int width, int height, WindowStyle style);
void destroyWindow();
// Creates a double-buffered RGBA context with the depth buffer and makes it current.
bool createGlContext(int colourBits, int depthBits);
void destroyGlContext();
// Shows the window, brings it to the foreground and gives it the keyboard focus.
void showWindow();
// Presents the picture drawn since the last swap.
void swapBuffers();
// Drawable pixels per picture pixel (1 for the program; N for an N-times capture).
int pixelScale();
// Multiplies the current matrix by a perspective projection (vertical field of
// view in degrees), exactly as the classic GLU utility does.
void perspective(double fovyDegrees, double aspect, double zNear, double zFar);

// ---------------------------------------------------------------- message boxes

enum class Buttons { Ok, YesNo };
enum class Icon { None, Exclamation, Error };
enum class Answer { Ok, Yes, No };

// Shows a modal box. Texts are Windows-1252 bytes (shown as UTF-8). ownedByFocus:
// the window with the keyboard focus owns the box (otherwise no owner).
Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon,
                  bool ownedByFocus = false);

// ---------------------------------------------------------------- cursor and mouse

void showCursor(bool visible);
// Positions are picture pixels of the 640 x 480 picture (mapped through any scaling).
void setCursorPos(int x, int y);
void getCursorPos(int& x, int& y);
// True when the left button is down now, or was pressed since the previous query.
bool asyncLeftButton();

// ---------------------------------------------------------------- time

std::int64_t counterFrequency();  // ticks per second of counterNow
std::int64_t counterNow();        // high-resolution monotonic counter
std::uint32_t tickCount();        // milliseconds, wraps at 2^32
void yieldProcessor();            // gives up the rest of the time slice

// ---------------------------------------------------------------- files

bool deleteFile(const char* path);
std::string currentDirectory();
// Makes `path` the current directory; false when it cannot.
bool changeDirectory(const char* path);
// The folder of the program's own executable, ending in its separator (where a
// double click starts the program); empty when there is none to tell.
std::string programDirectory();
// Where the system keeps temporary files (no trailing separator).
std::string tempDirectory();
// Creates a file that does not exist yet, never through a symbolic link; null when
// a file of that name exists or cannot be created. ownerOnly: readable by the user alone.
std::FILE* createNewFile(const char* path, bool ownerOnly);
// Opens a file that holds secrets (the reader's log) as a text stream: created for the
// user alone when missing, never through a symbolic link or reparse point, and an
// existing file is only taken when it is a plain file of the user's with no other
// names. truncate: emptied first; otherwise written at its end. Null when refused.
std::FILE* openPrivateFile(const char* path, bool truncate);

// ---------------------------------------------------------------- the program

// Implemented by the program (its entry with the whole start-up and teardown);
// run by the desktop's or the page's process entry, or by a harness on the headless
// back end. Returns the exit code.
int programEntry();

}  // namespace platform
