// Effects on a timeline, and the main loop that runs them.
#pragma once

#include <cstdint>

class Window;

// Something the timeline runs: advanced by the frame delta, then rendered. Its local
// time counts only the frames in which it runs.
class Effect {
public:
    virtual void render() = 0;
    void advance(float delta) { localTime = delta + localTime; }
    float getLocalTime() const { return localTime; }
    void setLocalTime(float value) { localTime = value; }

protected:
    ~Effect() = default;  // effects are owned and deleted by their concrete type
    float localTime = 0.0f;
};

struct TimelineItem {
    Effect* effect;  // not owned
    float start;     // runs only while start < total time < end
    float end;
};

class Timeline {
public:
    // Obtains n item slots; called once, before the first add.
    void setCapacity(std::uint32_t n);
    // The window whose picture the loop presents; not owned.
    void setWindow(Window* window);
    // Appends an item; ignored without a word once the slots are full.
    void add(Effect* effect, float start, float end);
    // One clock step, then every due item advanced and rendered, in order of add.
    void runFrame();
    // The main loop: one message per turn, a frame, a swap; ends on the quit message.
    void run();
    // Releases the item records and the slots (the effects are not touched).
    void releaseItems();

    std::uint32_t itemCount() const { return count; }

private:
    TimelineItem** items = nullptr;
    std::uint32_t count = 0;
    std::uint32_t capacity = 0;
    Window* window = nullptr;
};
