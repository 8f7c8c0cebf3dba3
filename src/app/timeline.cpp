// The timeline and the main loop.
#include "app/timeline.h"

#include <GL/gl.h>

#include <cassert>
#include <new>

#include "app/clock.h"
#include "app/window.h"
#include "platform/platform.h"

void Timeline::setCapacity(std::uint32_t n)
{
    assert(items == nullptr && count == 0 && "setCapacity: once, before the first add");
    items = new (std::nothrow) TimelineItem*[n];
    capacity = items ? n : 0;  // no storage: every add is ignored
}

void Timeline::setWindow(Window* attached) { window = attached; }

void Timeline::add(Effect* effect, float start, float end)
{
    if (count >= capacity || effect == nullptr) return;
    TimelineItem* item = new (std::nothrow) TimelineItem{effect, start, end};
    if (item == nullptr) return;
    items[count++] = item;
}

// Both comparisons are strict: at a total time equal to its start or its end an item
// does not run, and its effect's local time stays as it was.
void Timeline::runFrame()
{
    updateClock();
    float delta = frameDelta();
    for (std::uint32_t i = 0; i < count; ++i) {
        TimelineItem* item = items[i];
        float t = totalTime();
        if (t > item->start && t < item->end) {
            item->effect->advance(delta);
            item->effect->render();
        }
    }
}

// The quit message belongs to no window: it ends the loop and is never dispatched.
static void handleMessage(const platform::Message& message)
{
    if (message.kind == platform::MessageKind::Quit) return;
    platform::translateMessage(message);
    platform::dispatchMessage(message);
}

static void present(Window* window)
{
    glFlush();
    if (window != nullptr) window->swapBuffers();
}

// One pending message per turn at most, so a burst of input spreads over as many
// frames; with nothing pending a frame is still drawn. The turn that retrieves the
// quit message still draws and presents its frame.
//
// The message seen before the first turn only decides whether the loop starts at
// all; it is kept and handled as the first turn's message, just as if it had been
// left in the queue.
void Timeline::run()
{
    platform::Message last;
    bool haveLast = platform::peekMessage(last);
    bool held = haveLast;
    while (!(haveLast && last.kind == platform::MessageKind::Quit)) {
        platform::Message next;
        if (held) {
            handleMessage(last);
            held = false;
        } else if (platform::peekMessage(next)) {
            last = next;
            haveLast = true;
            handleMessage(last);
        }
        runFrame();
        present(window);
        platform::yieldProcessor();
    }
}

void Timeline::releaseItems()
{
    for (std::uint32_t i = 0; i < count; ++i) delete items[i];
    delete[] items;
    items = nullptr;
    count = 0;
    capacity = 0;
}
