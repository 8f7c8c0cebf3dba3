// The capture's input script: one timed event per line, times in seconds of the
// program's clock, in order.
//
//   # a comment; blank lines are ignored
//   2.5 key A          a letter A..Z, Escape, or a virtual-key number 1..255
//   3   mouse 320 240  pointer position in the 640 x 480 picture
//   3.1 button down    left button (down or up)
//   4   answer no      the answer to the next Yes/No message box (default yes)
//   60  close          the window's close request
#pragma once

#include <string>
#include <vector>

#include "platform/headless.h"

// Appends the events of `text` to `events`. False on the first mistake, with
// `error` naming the line and what is wrong ("line 3: ...").
bool parseScript(const std::string& text, std::vector<headless::Event>& events, std::string& error);
