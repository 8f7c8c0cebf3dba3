// A platform with no devices for unit tests of the application frame: every call is
// recorded in order, failures and answers are set by the test, the message queue
// and the counter are plain fields. Reset with fakePlatform = FakePlatform{}.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

struct FakeMessageBox {
    std::string text;
    std::string caption;
    platform::Buttons buttons;
    platform::Icon icon;
};

struct FakePlatform {
    // What the test sets.
    bool failRegister = false;
    bool failDisplayMode = false;
    bool failCreateWindow = false;
    bool failGlContext = false;
    platform::Answer answer = platform::Answer::Yes;  // for Yes/No boxes
    int screenWidth = 1024, screenHeight = 768;
    int scale = 1;
    std::int64_t frequency = 1000;
    std::int64_t counter = 0;
    std::int64_t ticksPerSwap = 0;  // counter step at every swap
    std::function<void()> onSwap;   // after the counter step
    std::deque<platform::Message> queue;

    // What the code under test did.
    std::vector<std::string> calls;  // one entry per platform call
    std::vector<FakeMessageBox> boxes;
    std::vector<platform::Message> dispatched;
    platform::WindowProc proc = nullptr;
    int swaps = 0;
    int windowX = -1, windowY = -1;
    platform::WindowStyle style = platform::WindowStyle::Overlapped;
    double perspectiveArgs[4] = {0, 0, 0, 0};
    bool cursorVisible = true;
};

extern FakePlatform fakePlatform;

// Index of the first call named `name` in fakePlatform.calls, or -1.
int callIndex(const std::string& name);
