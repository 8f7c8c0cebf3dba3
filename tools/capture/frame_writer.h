// Frames handed to one background thread that writes them in the order they came,
// so that the show draws the next frame while the last one is converted and
// written. A bounded number wait; the drawing waits when they are that many.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class FrameWriter {
public:
    using Write = std::function<bool(const std::vector<std::uint8_t>&)>;
    // `write` runs on the thread, once per frame, in order. Once it has returned
    // false the frames after it are dropped, and push and finish return false.
    FrameWriter(Write write, std::size_t capacity);
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Queues a frame, first waiting while `capacity` wait. False after a failed write.
    bool push(std::vector<std::uint8_t> frame);
    // Waits until every frame is written and ends the thread. False after a failed write.
    bool finish();

private:
    void work();

    Write write;
    std::size_t capacity;
    std::mutex mutex;
    std::condition_variable frameAdded, frameWritten;
    std::deque<std::vector<std::uint8_t>> waiting;
    bool writing = false;  // a frame is out of the queue and not written yet
    bool failed = false;
    bool stopping = false;
    std::thread thread;
};
