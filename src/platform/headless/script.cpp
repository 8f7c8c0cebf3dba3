// Scripted input: events become messages and pointer/button state when the virtual
// clock reaches their time. Also the cursor and button calls, which read that state.
#include <algorithm>

#include "platform/common/backend.h"
#include "platform/headless/state.h"

namespace headless {

namespace {

void queueMessage(platform::MessageKind kind, std::uint32_t wParam)
{
    platform::Message message;
    message.kind = kind;
    message.wParam = wParam;
    message.x = state.cursorX;
    message.y = state.cursorY;
    platform::queue::push(message);
}

std::uint32_t buttonBits() { return state.leftHeld ? platform::mouseLeftButtonBit : 0; }

void moveCursor(int x, int y)
{
    state.cursorX = std::clamp(x, 0, pictureWidth - 1);
    state.cursorY = std::clamp(y, 0, pictureHeight - 1);
}

void deliver(const Event& event)
{
    using platform::MessageKind;
    switch (event.kind) {
    case Event::Kind::Key:
        queueMessage(MessageKind::KeyDown, std::uint32_t(event.key));
        queueMessage(MessageKind::KeyUp, std::uint32_t(event.key));
        break;
    case Event::Kind::Mouse:
        moveCursor(event.x, event.y);
        queueMessage(MessageKind::MouseMove, buttonBits());
        break;
    case Event::Kind::ButtonDown:
        state.leftHeld = true;
        state.leftPressedSinceQuery = true;
        queueMessage(MessageKind::ButtonDown, buttonBits());
        break;
    case Event::Kind::ButtonUp:
        state.leftHeld = false;
        queueMessage(MessageKind::ButtonUp, buttonBits());
        break;
    case Event::Kind::Close:
        queueMessage(MessageKind::Close, 0);
        break;
    case Event::Kind::Answer:
        state.answers.push_back(event.yes);
        break;
    }
}

}  // namespace

}  // namespace headless

namespace platform {

using headless::state;

void backend::pumpEvents()
{
    const double now = headless::clockSeconds();
    const std::vector<headless::Event>& script = state.config.script;
    while (state.nextEvent < script.size() && script[state.nextEvent].time <= now)
        headless::deliver(script[state.nextEvent++]);
}

bool backend::shiftHeld() { return false; }

void showCursor(bool visible) { state.cursorVisible = visible; }

void setCursorPos(int x, int y)
{
    const int oldX = state.cursorX, oldY = state.cursorY;
    headless::moveCursor(x, y);
    // Like the system it stands in for: a real move is reported as a mouse move.
    if (state.cursorX != oldX || state.cursorY != oldY)
        headless::queueMessage(MessageKind::MouseMove, headless::buttonBits());
}

void backend::cursorPosition(int& x, int& y)
{
    x = state.cursorX;
    y = state.cursorY;
}

bool backend::takeLeftButton()
{
    const bool down = state.leftHeld || state.leftPressedSinceQuery;
    state.leftPressedSinceQuery = false;
    return down;
}

}  // namespace platform
