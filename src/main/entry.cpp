// The program's entry: start-up in a fixed order, the main loop, teardown in a fixed
// order. Everything the show needs is loaded before the first frame.
//
// Start-up failures after the window exists are never fatal on the spot: the
// failing step shows its message and posts the quit message, start-up runs on to
// its end, and the loop ends when it retrieves that message.
#include <new>

#include "app/clock.h"
#include "app/input.h"
#include "app/timeline.h"
#include "app/window.h"
#include "archive/media_set.h"
#include "media/music.h"
#include "platform/platform.h"
#include "show/show.h"

namespace {

const char* const windowTitle = "zwirbelalp";
constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;
constexpr int colourBits = 32;
constexpr std::uint32_t timelineCapacity = 10;
constexpr float showStart = 0.0f;
constexpr float showEnd = 86400.0f;  // one day of clock time

struct Program {
    Window* window = nullptr;
    Timeline* timeline = nullptr;
    Show* show = nullptr;
};

// Media are written out (beside the archive, in the program's folder if it was
// started elsewhere), loaded into the show and the sound library, and deleted again
// before the clock starts.
void loadEverything(Program& program)
{
    enterArchiveFolder();
    extractMediaSet();
    program.show = new (std::nothrow) Show();
    startMusic();
    deleteMediaSet();
    program.timeline->setCapacity(timelineCapacity);
    program.timeline->setWindow(program.window);
    program.timeline->add(program.show, showStart, showEnd);
}

// The window goes last: textures end with its rendering context.
void tearDown(Program& program)
{
    if (program.timeline != nullptr) program.timeline->releaseItems();
    stopMusic();
    delete program.show;
    delete program.timeline;
    delete program.window;
}

}  // namespace

int platform::programEntry()
{
    Program program;
    program.window = new (std::nothrow) Window();
    program.timeline = new (std::nothrow) Timeline();
    if (program.window == nullptr || program.timeline == nullptr) {
        delete program.timeline;
        delete program.window;
        return 0;
    }
    // Without a window there is nothing to show the media on: end before extracting.
    if (!program.window->create(windowTitle, pictureWidth, pictureHeight, colourBits, true, true,
                                windowProc)) {
        delete program.timeline;
        delete program.window;
        return 0;
    }
    loadEverything(program);
    startClock();
    program.timeline->run();
    tearDown(program);
    return 0;
}
