// What the web back end asks of the page around the canvas (web/shell.html): the
// browser's turn between frames, full screen, the browser's own dialogs, and the
// page's test hooks. Each call is a small piece of JavaScript in page.cpp. The page
// in turn calls zw_press_escape (page.cpp) for its on-screen Esc.
#pragma once

namespace platform::web {

// Hands control to the browser until it wants the next frame (the next animation
// frame; a zero-delay timer when the page runs on a fixed clock step).
void waitForNextFrame();
// Frames per second of clock time when the page asks for a fixed step (its test
// option: the clock then advances exactly one frame at every buffer swap, as in the
// native capture); 0 for the real clock.
int fixedFrameRate();
// Tells the page that a frame is drawn and about to be shown, with the clock time
// of the program's clock (seconds since it started; 0 before).
void frameDrawn(double clockSeconds);
// Full screen on or off through the browser (Alt+Enter).
void toggleFullScreen();
// The program has ended (the page offers to watch it again).
void programEnded();
// The browser's own modal dialogs; texts are UTF-8.
void alertBox(const char* caption, const char* text);
bool confirmBox(const char* caption, const char* text);

}  // namespace platform::web
