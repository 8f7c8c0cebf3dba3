#include "recorded_boxes.h"

#include "platform/platform.h"

std::vector<RecordedBox>& recordedBoxes()
{
    static std::vector<RecordedBox> boxes;
    return boxes;
}

int& quitMessagesPosted()
{
    static int count = 0;
    return count;
}

namespace platform {

Answer messageBox(const char* text, const char* caption, Buttons, Icon, bool ownedByFocus)
{
    recordedBoxes().push_back({text, caption, ownedByFocus});
    return Answer::Ok;
}

void postQuitMessage(int) { ++quitMessagesPosted(); }

}  // namespace platform
