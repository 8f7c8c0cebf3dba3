// Background threads of the capture.
#include "tools/capture/workers.h"

#include <signal.h>

#include <algorithm>

namespace {

constexpr std::size_t memoryForWaitingFrames = std::size_t(256) << 20;

}  // namespace

// The new thread inherits the signal mask in force while it is made.
std::thread startWorker(std::function<void()> work)
{
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    std::thread worker(std::move(work));
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return worker;
}

std::size_t framesInMemory(std::size_t wanted, std::size_t frameBytes)
{
    const std::size_t byMemory = memoryForWaitingFrames / std::max<std::size_t>(frameBytes, 1);
    return std::max<std::size_t>(1, std::min(wanted, byMemory));
}
