// The message queue, window-procedure dispatch and pointer reads, shared by both
// back ends. Every read pumps the back end's input first.
//
// With ZW_TRACE_MESSAGES set in the environment, every message queued, merged and
// dispatched is written to stderr with the turn of the main loop (counted by
// peekMessage): the real-window tests read from it how long input waits.
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "platform/common/backend.h"
#include "platform/common/keyboard.h"

namespace platform {

namespace {

struct MessageState {
    std::deque<Message> pending;  // oldest first
    WindowProc windowProc = nullptr;
    bool trace = std::getenv("ZW_TRACE_MESSAGES") != nullptr;
    unsigned long long turn = 0;  // peekMessage calls so far
};

MessageState messages;

const char* const kindNames[] = {"Quit",      "Close",      "KeyDown",  "KeyUp", "Char",
                                 "MouseMove", "ButtonDown", "ButtonUp", "Other"};

void trace(const char* what, const Message& message)
{
    if (!messages.trace) return;
    std::fprintf(stderr, "zwirbelalp trace: turn %llu %s %s %u\n", messages.turn, what,
                 kindNames[static_cast<std::uint32_t>(message.kind)], message.wParam);
}

}  // namespace

// A mouse move never queues behind another one: while the newest pending message is
// a move, a further move only updates its position and button bit, as the system
// the program was made for does. Any other message ends the merging, so the order of
// everything but the moves stays as it was. A fast mouse thus costs one message per
// turn of the main loop, never a backlog that keys, clicks and closing wait behind.
void queue::push(const Message& message)
{
    std::deque<Message>& pending = messages.pending;
    if (message.kind == MessageKind::MouseMove && !pending.empty() &&
        pending.back().kind == MessageKind::MouseMove) {
        pending.back() = message;
        trace("merge", message);
        return;
    }
    pending.push_back(message);
    trace("queue", message);
}

bool queue::pop(Message& out)
{
    if (messages.pending.empty()) return false;
    out = messages.pending.front();
    messages.pending.pop_front();
    return true;
}

void queue::clear() { messages.pending.clear(); }

void queue::setWindowProc(WindowProc proc) { messages.windowProc = proc; }

bool peekMessage(Message& out)
{
    ++messages.turn;
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
    const std::uint32_t character = keyboard::characterFor(message.wParam, backend::shiftHeld());
    if (character == 0) return;
    Message typed;
    typed.kind = MessageKind::Char;
    typed.wParam = character;
    queue::push(typed);
}

long dispatchMessage(const Message& message)
{
    trace("dispatch", message);
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
