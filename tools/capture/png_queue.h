// Frames to PNG files on worker threads, so that the show keeps drawing while
// earlier frames are compressed. Pictures go in in frame order and come back
// (written or failed) in that same order, so the report lists them as before;
// a bounded number wait at a time, and the drawing waits when they are that many.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/capture/png_encoder.h"

struct PngJob {
    std::uint64_t frame = 0;
    double time = 0;
    std::string path;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // top row first
};

struct PngDone {
    std::uint64_t frame = 0;
    double time = 0;
    std::string path;
    bool written = false;
};

class PngQueue {
public:
    // `workers` threads; at most `capacity` pictures (at least 1) held at a time.
    PngQueue(int workers, std::size_t capacity, PngCompression compression = PngCompression());
    ~PngQueue();
    PngQueue(const PngQueue&) = delete;
    PngQueue& operator=(const PngQueue&) = delete;

    // Queues a picture, first waiting while the queue is full; returns the jobs
    // finished by then, oldest first, up to the first one still running.
    std::vector<PngDone> push(PngJob job);
    // Waits for every job and returns those not returned yet, oldest first.
    std::vector<PngDone> finish();

private:
    struct Slot {
        PngJob job;
        bool finished = false;
        bool written = false;
    };
    void work();
    std::vector<PngDone> takeFinished();

    PngCompression compression;
    std::size_t capacity;
    std::mutex mutex;
    std::condition_variable workAdded, jobFinished;
    std::deque<std::unique_ptr<Slot>> slots;  // in frame order, until returned
    std::deque<Slot*> waiting;                // not yet taken by a worker
    bool stopping = false;
    std::vector<std::thread> threads;
};

// Workers and capacity for frames of `frameBytes`: one worker per core, two
// pictures each in flight, and never more than a fixed amount of memory.
int pngWorkers();
std::size_t pngCapacity(int workers, std::size_t frameBytes);
