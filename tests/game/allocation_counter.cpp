// The test program's operator new and delete: malloc and free, with a count of the allocations
// made while counting is on (from any thread, as the 3D sprites draw on two).
#include "tests/game/allocation_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> counting{false};
std::atomic<int64_t> allocations{0};

void* TryAllocate(std::size_t size, std::size_t alignment) noexcept
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (alignment <= alignof(std::max_align_t))
        return std::malloc(size ? size : 1);
    // aligned_alloc wants a size that is a multiple of the alignment.
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* Allocate(std::size_t size, std::size_t alignment)
{
    if (void* block = TryAllocate(size ? size : 1, alignment))
        return block;
    throw std::bad_alloc();
}
} // namespace

void StartCountingAllocations()
{
    allocations = 0;
    counting = true;
}

int64_t StopCountingAllocations()
{
    counting = false;
    return allocations;
}

// Every form of new and delete is replaced, so that no block made by one allocator is
// released by the other.
void* operator new(std::size_t size)
{
    return Allocate(size, alignof(std::max_align_t));
}

void* operator new[](std::size_t size)
{
    return Allocate(size, alignof(std::max_align_t));
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return Allocate(size, std::size_t(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return Allocate(size, std::size_t(alignment));
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return TryAllocate(size, alignof(std::max_align_t));
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return TryAllocate(size, alignof(std::max_align_t));
}

void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return TryAllocate(size, std::size_t(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return TryAllocate(size, std::size_t(alignment));
}

void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept
{
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept
{
    std::free(block);
}
