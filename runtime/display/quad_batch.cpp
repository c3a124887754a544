// The batch of quads and the helper thread that draws half of its bands.
#include "runtime/display/quad_batch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif
#if defined(__linux__)
#include <sched.h>
#endif

namespace {
constexpr int32_t BATCH_CAPACITY = 4096;
// Fills a batch holds: a scene clears its target once or a few times.
constexpr int32_t FILL_CAPACITY = 8;
// Rows per band: small enough for the two threads to share out any scene evenly, large enough
// that a quad is rarely cut into many pieces.
constexpr int32_t BAND_ROWS = 32;
// Pauses the helper spins through before it sleeps. Batches come once a frame, so waking from
// the kernel costs little, while spinning on would take a core from whatever else runs.
constexpr int32_t SPIN_ROUNDS = 1000;

// The claim word of the batch being drawn: its band count in bits 16 to 31, the next band to
// claim in bits 0 to 15. Both in one word, claimed by compare-exchange, so that a thread late
// from one batch can never take a band of the next one with the count of the last.
constexpr uint64_t BAND_COUNT_SHIFT = 16;
constexpr uint64_t NEXT_BAND_MASK = 0xFFFF;

// A fill of a target, drawn before the quad at index before (or after all quads).
struct BatchFill {
    Surface* target;
    uint32_t value;
    int32_t before;
};

struct QuadBatch {
    QuadSetup* quads = nullptr; // BATCH_CAPACITY entries, made at the first quad
    int32_t count = 0;
    BatchFill fills[FILL_CAPACITY];
    int32_t fillCount = 0;
    bool sceneOpen = false;
    std::atomic<uint64_t> claim{0};
    std::atomic<int32_t> doneBands{0};
    std::thread* helper = nullptr;
    std::atomic<uint32_t> posted{0};   // batches handed to the helper
    std::atomic<uint32_t> sleeping{0}; // 1 while the helper waits in the kernel
    std::atomic<bool> quit{false};
};
QuadBatch Batch;

inline void CpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}

void DrawBand(int32_t band)
{
    int32_t top = band * BAND_ROWS, bottom = top + BAND_ROWS;
    int32_t fill = 0;
    for (int32_t i = 0; i <= Batch.count; ++i) {
        for (; fill < Batch.fillCount && Batch.fills[fill].before == i; ++fill)
            FillSurfaceRows(*Batch.fills[fill].target, top, bottom, Batch.fills[fill].value);
        if (i == Batch.count)
            break;
        const QuadSetup& quad = Batch.quads[i];
        if (quad.rowEnd > top && quad.rowBegin < bottom)
            DrawQuadRows(quad, std::max(top, quad.rowBegin), std::min(bottom, quad.rowEnd));
    }
}

// Claims bands until none is left and draws each; both threads run this.
void DrawBands()
{
    uint64_t word = Batch.claim.load(std::memory_order_acquire);
    for (;;) {
        uint64_t band = word & NEXT_BAND_MASK;
        if (band >= word >> BAND_COUNT_SHIFT)
            return;
        if (!Batch.claim.compare_exchange_weak(word, word + 1, std::memory_order_acq_rel,
                                               std::memory_order_acquire))
            continue;
        DrawBand(static_cast<int32_t>(band));
        Batch.doneBands.fetch_add(1, std::memory_order_release);
        ++word;
    }
}

uint32_t WaitForBatch(uint32_t seen)
{
    for (int32_t i = 0; i < SPIN_ROUNDS; ++i) {
        uint32_t now = Batch.posted.load(std::memory_order_acquire);
        if (now != seen)
            return now;
        CpuRelax();
    }
    for (;;) {
        // Announce the sleep before the last look, so that a poster either sees the flag or
        // its batch is seen here.
        Batch.sleeping.store(1, std::memory_order_seq_cst);
        if (Batch.posted.load(std::memory_order_seq_cst) == seen)
            Batch.posted.wait(seen, std::memory_order_seq_cst);
        Batch.sleeping.store(0, std::memory_order_relaxed);
        uint32_t now = Batch.posted.load(std::memory_order_acquire);
        if (now != seen)
            return now;
    }
}

// A late wake-up is harmless: bands are claimed from the shared counter, so a helper that
// comes after the caller has drawn everything finds no band left.
void HelperLoop(uint32_t seen)
{
    for (;;) {
        seen = WaitForBatch(seen);
        if (Batch.quit.load(std::memory_order_acquire))
            return;
        DrawBands();
    }
}

void WakeHelper()
{
    Batch.posted.fetch_add(1, std::memory_order_seq_cst);
    if (Batch.sleeping.load(std::memory_order_seq_cst))
        Batch.posted.notify_one();
}

// The processors this process may run on: a game pinned to one core (taskset) draws alone
// instead of time-sharing that core with a helper that waits for it.
uint32_t UsableProcessors()
{
#if defined(__linux__)
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof(set), &set) == 0)
        return static_cast<uint32_t>(CPU_COUNT(&set));
#endif
    return std::thread::hardware_concurrency();
}

bool HaveStorage()
{
    if (!Batch.quads)
        Batch.quads = static_cast<QuadSetup*>(std::malloc(sizeof(QuadSetup) * BATCH_CAPACITY));
    return Batch.quads != nullptr;
}
} // namespace

bool StartQuadHelper()
{
    if (Batch.helper)
        return true;
    if (UsableProcessors() < 2)
        return false;
    Batch.quit.store(false);
    try {
        // The count of batches is taken here, not in the thread: a batch posted before the
        // thread first runs must still be seen as new.
        Batch.helper = new std::thread(HelperLoop, Batch.posted.load());
    } catch (...) {
        Batch.helper = nullptr;
    }
    return Batch.helper != nullptr;
}

void StopQuadHelper()
{
    if (!Batch.helper)
        return;
    DrawQuadBatch();
    Batch.quit.store(true, std::memory_order_release);
    WakeHelper();
    Batch.helper->join();
    delete Batch.helper;
    Batch.helper = nullptr;
}

bool AddQuad(Surface& target, const Surface& texture, const TLVertex vertices[4],
             const QuadState& state)
{
    if (!HaveStorage()) {
        QuadSetup quad;
        if (!PrepareQuad(quad, target, texture, vertices, state))
            return false;
        DrawQuadRows(quad, quad.rowBegin, quad.rowEnd);
        return true;
    }
    if (Batch.count == BATCH_CAPACITY)
        DrawQuadBatch();
    if (!PrepareQuad(Batch.quads[Batch.count], target, texture, vertices, state))
        return false;
    ++Batch.count;
    return true;
}

void SetQuadSceneOpen(bool open)
{
    Batch.sceneOpen = open;
}

bool AddFill(Surface& target, uint32_t value)
{
    if (!Batch.sceneOpen || !HaveStorage())
        return false;
    if (Batch.fillCount == FILL_CAPACITY)
        DrawQuadBatch();
    Batch.fills[Batch.fillCount++] = {&target, value, Batch.count};
    return true;
}

void DrawQuadBatch()
{
    if (Batch.count == 0 && Batch.fillCount == 0)
        return;
    int32_t rows = 0;
    for (int32_t i = 0; i < Batch.count; ++i)
        rows = std::max(rows, Batch.quads[i].rowEnd);
    for (int32_t i = 0; i < Batch.fillCount; ++i)
        rows = std::max(rows, Batch.fills[i].target->height);
    // A surface has at most 16384 rows: 512 bands, well within the claim word's 16 bits.
    int32_t bands = (rows + BAND_ROWS - 1) / BAND_ROWS;
    Batch.doneBands.store(0, std::memory_order_relaxed);
    Batch.claim.store(static_cast<uint64_t>(bands) << BAND_COUNT_SHIFT, std::memory_order_release);
    if (Batch.helper)
        WakeHelper();
    DrawBands();
    for (uint32_t spins = 0; Batch.doneBands.load(std::memory_order_acquire) != bands; ++spins) {
        if (spins < 4096)
            CpuRelax();
        else
            std::this_thread::yield(); // the helper lost its core in the middle of a band
    }
    Batch.count = 0;
    Batch.fillCount = 0;
}

void DropQuadBatch()
{
    Batch.count = 0;
    Batch.fillCount = 0;
}

int32_t PendingQuads()
{
    return Batch.count + Batch.fillCount;
}
