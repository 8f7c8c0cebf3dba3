// The window procedure: the only writer of the input state.
#include "app/input.h"

InputState input;

void clearKeyHistory()
{
    for (std::int32_t& key : input.keyHistory) key = 0;
}

// A key equal to the newest entry is not recorded again: that absorbs the automatic
// repeat of a held key (and a second press of the same key). Otherwise the history
// moves one place towards the oldest end and the key becomes the newest entry.
static void recordKey(std::int32_t key)
{
    std::int32_t* history = input.keyHistory;
    if (key == history[keyHistoryLength - 1]) return;
    for (int i = 0; i + 1 < keyHistoryLength; ++i) history[i] = history[i + 1];
    history[keyHistoryLength - 1] = key;
}

// The first Escape turns the show to its outro; once the outro is done, Escape ends
// the program. Escape then goes into the history like any other key.
static long onKeyDown(std::uint32_t key)
{
    if (key == platform::keyEscape) {
        input.escapePressed = true;
        if (input.outroDone) platform::postQuitMessage(0);
    }
    recordKey(static_cast<std::int32_t>(key));
    return 0;
}

long windowProc(const platform::Message& message)
{
    switch (message.kind) {
    case platform::MessageKind::Close:
        platform::postQuitMessage(0);  // teardown destroys the window later
        return 0;
    case platform::MessageKind::KeyDown:
        return onKeyDown(message.wParam);
    default:
        // Any other message ends a drag: the flag holds only while the newest
        // message is a mouse move with the left button held.
        input.leftButtonDown = false;
        if (message.kind == platform::MessageKind::MouseMove)
            input.leftButtonDown = (message.wParam & platform::mouseLeftButtonBit) != 0;
        return platform::defaultWindowProc(message);
    }
}
