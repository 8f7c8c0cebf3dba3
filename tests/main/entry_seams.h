// What the entry test's stand-ins for the show, media set and music record.
#pragma once

#include <string>
#include <vector>

class Show;

struct EntrySeams {
    std::string quitAt;    // the step that posts the quit message
    Show* show = nullptr;  // the show the entry made
    std::vector<float> renderedLocalTimes;
};

extern EntrySeams entrySeams;
