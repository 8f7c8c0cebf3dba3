// The video's writing thread.
#include "tools/capture/frame_writer.h"

#include <algorithm>

#include "tools/capture/workers.h"

FrameWriter::FrameWriter(Write writeFrame, std::size_t maxWaiting)
    : write(std::move(writeFrame)), capacity(std::max<std::size_t>(maxWaiting, 1))
{
    thread = startWorker([this] { work(); });
}

FrameWriter::~FrameWriter() { finish(); }

bool FrameWriter::push(std::vector<std::uint8_t> frame)
{
    std::unique_lock<std::mutex> lock(mutex);
    frameWritten.wait(lock, [this] { return waiting.size() < capacity || failed; });
    if (failed) return false;
    waiting.push_back(std::move(frame));
    lock.unlock();
    frameAdded.notify_one();
    return true;
}

bool FrameWriter::finish()
{
    {
        std::unique_lock<std::mutex> lock(mutex);
        frameWritten.wait(lock, [this] { return waiting.empty() && !writing; });
        stopping = true;
    }
    frameAdded.notify_all();
    if (thread.joinable()) thread.join();
    return !failed;
}

void FrameWriter::work()
{
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
        frameAdded.wait(lock, [this] { return stopping || !waiting.empty(); });
        if (waiting.empty()) return;
        const std::vector<std::uint8_t> frame = std::move(waiting.front());
        waiting.pop_front();
        writing = true;
        const bool skip = failed;
        lock.unlock();
        const bool written = skip || write(frame);
        lock.lock();
        writing = false;
        failed = failed || !written;
        frameWritten.notify_all();
    }
}
