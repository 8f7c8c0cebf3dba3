// Effects on a timeline, and the main loop that runs them.
#pragma once

#include <cstdint>

class Window;

// Something the timeline runs: advanced by the frame delta, then rendered.
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
    void setCapacity(std::uint32_t n);
    void setWindow(Window* window);
    void add(Effect* effect, float start, float end);  // ignored once full
    void runFrame();
    void run();
    void releaseItems();

private:
    TimelineItem** items = nullptr;
    std::uint32_t count = 0;
    std::uint32_t capacity = 0;
    Window* window = nullptr;
};
