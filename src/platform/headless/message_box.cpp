// Message boxes of the headless back end: answered from the script (default: Yes),
// recorded for tests, and printed so a capture run shows them.
#include <cstdio>

#include "platform/common/backend.h"
#include "platform/common/text.h"
#include "platform/headless/state.h"

namespace headless {

namespace {

platform::Answer answerFor(platform::Buttons buttons)
{
    if (buttons != platform::Buttons::YesNo) return platform::Answer::Ok;
    if (state.answers.empty()) return platform::Answer::Yes;
    const bool yes = state.answers.front();
    state.answers.pop_front();
    return yes ? platform::Answer::Yes : platform::Answer::No;
}

const char* answerName(platform::Answer answer)
{
    switch (answer) {
    case platform::Answer::Yes:
        return "Yes";
    case platform::Answer::No:
        return "No";
    default:
        return "OK";
    }
}

}  // namespace

}  // namespace headless

namespace platform {

Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon, bool)
{
    backend::pumpEvents();  // answers due by now apply
    headless::MessageBoxRecord record;
    record.caption = caption ? caption : "";
    record.text = text ? text : "";
    record.buttons = buttons;
    record.answer = headless::answerFor(buttons);
    std::fprintf(stderr, "[%s] %s -> %s\n", windows1252ToUtf8(record.caption).c_str(),
                 windows1252ToUtf8(record.text).c_str(), headless::answerName(record.answer));
    headless::state.boxes.push_back(record);
    return record.answer;
}

}  // namespace platform
