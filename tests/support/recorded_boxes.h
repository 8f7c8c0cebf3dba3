// A stand-in for the platform's message boxes and quit message in the pure tests
// of the media code: every box and every quit is recorded.
#pragma once

#include <string>
#include <vector>

struct RecordedBox {
    std::string text;
    std::string caption;
    bool ownedByFocus;
};

std::vector<RecordedBox>& recordedBoxes();
int& quitMessagesPosted();
