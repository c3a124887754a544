// The helper thread that draws the lower rows of large quads.
#include "runtime/display/quad_threads.h"

#include <atomic>
#include <new>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {
// Below this many rows the hand-over costs more than the helper saves.
constexpr int32_t SharedRows = 32;
// Pauses the helper spins through before it sleeps: quads of a scene follow one another
// within microseconds, frames do not.
constexpr int32_t SpinRounds = 20000;

struct QuadHelper {
    std::thread* thread = nullptr;
    std::atomic<uint32_t> posted{0};   // jobs handed to the helper
    std::atomic<uint32_t> finished{0}; // the last job it completed
    std::atomic<uint32_t> sleeping{0}; // 1 while it waits in the kernel
    std::atomic<bool> quit{false};
    const QuadSetup* job = nullptr; // written before posted, read after it
    int32_t rowBegin = 0;
    int32_t rowEnd = 0;
};
QuadHelper Helper;

inline void CpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}

uint32_t WaitForJob(uint32_t seen)
{
    for (int32_t i = 0; i < SpinRounds; ++i) {
        uint32_t now = Helper.posted.load(std::memory_order_acquire);
        if (now != seen)
            return now;
        CpuRelax();
    }
    for (;;) {
        // Announce the sleep before the last look, so that a poster either sees the flag or
        // its job is seen here.
        Helper.sleeping.store(1, std::memory_order_seq_cst);
        uint32_t now = Helper.posted.load(std::memory_order_seq_cst);
        if (now == seen)
            Helper.posted.wait(seen, std::memory_order_seq_cst);
        Helper.sleeping.store(0, std::memory_order_relaxed);
        now = Helper.posted.load(std::memory_order_acquire);
        if (now != seen)
            return now;
    }
}

void HelperLoop(uint32_t seen)
{
    for (;;) {
        seen = WaitForJob(seen);
        if (Helper.quit.load(std::memory_order_acquire))
            return;
        DrawQuadRows(*Helper.job, Helper.rowBegin, Helper.rowEnd);
        Helper.finished.store(seen, std::memory_order_release);
    }
}

void Post()
{
    Helper.posted.fetch_add(1, std::memory_order_seq_cst);
    if (Helper.sleeping.load(std::memory_order_seq_cst))
        Helper.posted.notify_one();
}
} // namespace

bool StartQuadHelper()
{
    if (Helper.thread)
        return true;
    if (std::thread::hardware_concurrency() < 2)
        return false;
    Helper.quit.store(false);
    uint32_t seen = Helper.posted.load();
    Helper.finished.store(seen);
    try {
        // The count of jobs is taken here, not in the thread: a job posted before the thread
        // first runs must still be seen as new.
        Helper.thread = new std::thread(HelperLoop, seen);
    } catch (...) {
        Helper.thread = nullptr;
    }
    return Helper.thread != nullptr;
}

void StopQuadHelper()
{
    if (!Helper.thread)
        return;
    Helper.quit.store(true, std::memory_order_release);
    Post();
    Helper.thread->join();
    delete Helper.thread;
    Helper.thread = nullptr;
}

void DrawQuadShared(const QuadSetup& quad)
{
    int32_t rows = quad.rowEnd - quad.rowBegin;
    if (!Helper.thread || rows < SharedRows) {
        DrawQuadRows(quad, quad.rowBegin, quad.rowEnd);
        return;
    }
    int32_t middle = quad.rowBegin + rows / 2;
    Helper.job = &quad;
    Helper.rowBegin = middle;
    Helper.rowEnd = quad.rowEnd;
    uint32_t ticket = Helper.posted.load(std::memory_order_relaxed) + 1;
    Post();
    DrawQuadRows(quad, quad.rowBegin, middle);
    for (uint32_t spins = 0; Helper.finished.load(std::memory_order_acquire) != ticket; ++spins) {
        if (spins < 4096)
            CpuRelax();
        else
            std::this_thread::yield(); // the helper lost its core for a while
    }
}
