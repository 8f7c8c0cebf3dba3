// The message queue, window-procedure dispatch and pointer reads, shared by both
// back ends. Every read pumps the back end's input first.
#include <deque>

#include "platform/common/backend.h"

namespace platform {

namespace {

struct MessageState {
    std::deque<Message> pending;   // oldest first
    WindowProc windowProc = nullptr;
};

MessageState messages;

constexpr std::uint32_t keyBackspace = 8;
constexpr std::uint32_t keyTab = 9;
constexpr std::uint32_t keyReturn = 13;
constexpr std::uint32_t keySpace = 32;

}  // namespace

void queue::push(const Message& message) { messages.pending.push_back(message); }

bool queue::pop(Message& out)
{
    if (messages.pending.empty()) return false;
    out = messages.pending.front();
    messages.pending.pop_front();
    return true;
}

void queue::clear() { messages.pending.clear(); }

void queue::setWindowProc(WindowProc proc) { messages.windowProc = proc; }

std::uint32_t queue::characterForKey(std::uint32_t virtualKey, bool shifted)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z') return shifted ? virtualKey : virtualKey + ('a' - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return virtualKey;
    switch (virtualKey) {
    case keyBackspace:
    case keyTab:
    case keyReturn:
    case keyEscape:
    case keySpace: return virtualKey;
    default: return 0;
    }
}

bool peekMessage(Message& out)
{
    backend::pumpEvents();
    return queue::pop(out);
}

void getCursorPos(int& x, int& y)
{
    backend::pumpEvents();
    backend::cursorPosition(x, y);
}

bool asyncLeftButton()
{
    backend::pumpEvents();
    return backend::takeLeftButton();
}

void translateMessage(const Message& message)
{
    if (message.kind != MessageKind::KeyDown) return;
    const std::uint32_t character = queue::characterForKey(message.wParam, backend::shiftHeld());
    if (character == 0) return;
    Message typed;
    typed.kind = MessageKind::Char;
    typed.wParam = character;
    queue::push(typed);
}

long dispatchMessage(const Message& message)
{
    return messages.windowProc ? messages.windowProc(message) : defaultWindowProc(message);
}

long defaultWindowProc(const Message&) { return 0; }

void postQuitMessage(int exitCode)
{
    Message quit;
    quit.kind = MessageKind::Quit;
    quit.wParam = static_cast<std::uint32_t>(exitCode);
    queue::push(quit);
}

}  // namespace platform
