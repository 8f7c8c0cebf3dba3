// Stand-ins for the other areas' start-up and teardown steps, so that the entry's
// order can be checked on the device-free platform: each records its call in the
// fake platform's call list, and a test may make one of them post the quit message.
#include "tests/main/entry_seams.h"

#include "archive/media_set.h"
#include "media/music.h"
#include "show/show.h"
#include "support/fake_platform.h"

EntrySeams entrySeams;

static void step(const char* name)
{
    fakePlatform.calls.emplace_back(name);
    if (entrySeams.quitAt == name) platform::postQuitMessage(0);
}

void enterArchiveFolder() { step("enterArchiveFolder"); }
void extractMediaSet() { step("extractMediaSet"); }
void deleteMediaSet() { step("deleteMediaSet"); }
void startMusic() { step("startMusic"); }
void stopMusic() { step("stopMusic"); }

Flock::Flock() {}

Show::Show()
{
    step("Show");
    entrySeams.show = this;
}

Show::~Show() { step("~Show"); }

void Show::render()
{
    step("render");
    entrySeams.renderedLocalTimes.push_back(localTime);
}
