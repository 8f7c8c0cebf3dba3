// The PNG worker threads and their queue.
#include "tools/capture/png_queue.h"

#include <algorithm>

#include "tools/capture/workers.h"

int pngWorkers() { return int(std::max(1u, std::thread::hardware_concurrency())); }

std::size_t pngCapacity(int workers, std::size_t frameBytes)
{
    return framesInMemory(std::size_t(workers) * 2, frameBytes);
}

PngQueue::PngQueue(int workers, std::size_t maxHeld, PngCompression settings)
    : compression(settings), capacity(std::max<std::size_t>(maxHeld, 1))
{
    for (int i = 0; i < std::max(workers, 1); ++i) threads.push_back(startWorker([this] { work(); }));
}

PngQueue::~PngQueue()
{
    finish();
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    workAdded.notify_all();
    for (std::thread& t : threads) t.join();
}

std::vector<PngDone> PngQueue::push(PngJob job)
{
    std::unique_lock<std::mutex> lock(mutex);
    jobFinished.wait(lock, [this] { return slots.size() < capacity || slots.front()->finished; });
    std::vector<PngDone> done = takeFinished();
    slots.push_back(std::make_unique<Slot>());
    slots.back()->job = std::move(job);
    waiting.push_back(slots.back().get());
    lock.unlock();
    workAdded.notify_one();
    return done;
}

std::vector<PngDone> PngQueue::finish()
{
    std::unique_lock<std::mutex> lock(mutex);
    jobFinished.wait(lock, [this] {
        return std::all_of(slots.begin(), slots.end(), [](const auto& s) { return s->finished; });
    });
    return takeFinished();
}

// Called with the mutex held.
std::vector<PngDone> PngQueue::takeFinished()
{
    std::vector<PngDone> done;
    while (!slots.empty() && slots.front()->finished) {
        const PngJob& job = slots.front()->job;
        done.push_back(PngDone{job.frame, job.time, job.path, slots.front()->written});
        slots.pop_front();
    }
    return done;
}

void PngQueue::work()
{
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
        workAdded.wait(lock, [this] { return stopping || !waiting.empty(); });
        if (waiting.empty()) return;
        Slot* slot = waiting.front();
        waiting.pop_front();
        lock.unlock();
        PngJob& job = slot->job;
        const std::vector<std::uint8_t> png = encodePng(job.rgba.data(), job.width, job.height, compression);
        const bool written = !png.empty() && writeWholeFile(job.path, png);
        std::vector<std::uint8_t>().swap(job.rgba);
        lock.lock();
        slot->finished = true;
        slot->written = written;
        jobFinished.notify_all();
    }
}
