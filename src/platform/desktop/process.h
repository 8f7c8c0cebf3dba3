// For the process entry: what the desktop back end does before the program starts
// and when it has returned.
#pragma once

namespace platform::desktop {

// The exit code when there is no display to show the program on.
constexpr int exitNoDisplay = 1;

// Starts the video system on a driver that shows something; false, with one line on
// stderr, when only an invisible one is left that the user did not ask for.
bool openDisplay();

// Releases whatever the program left open (window, context) and shuts SDL down.
void shutdown();

}  // namespace platform::desktop
