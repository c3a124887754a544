// The test program's operator new and delete: malloc and free, with a count of the allocations
// made while counting is on (from any thread, as the 3D sprites draw on two).
#include "tests/game/allocation_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> counting{false};
std::atomic<int64_t> allocations{0};

void Count()
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}

void* TryAllocate(std::size_t size) noexcept
{
    Count();
    return std::malloc(size ? size : 1);
}

// An over-aligned block lies inside a larger one from malloc, whose own address is kept just
// before it for the aligned deletes: the C libraries of both systems free it with free.
void* TryAllocateAligned(std::size_t size, std::size_t alignment) noexcept
{
    Count();
    auto* raw = static_cast<char*>(std::malloc(size + alignment + sizeof(void*)));
    if (!raw)
        return nullptr;
    std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*) + alignment - 1) /
                           alignment * alignment;
    reinterpret_cast<void**>(start)[-1] = raw;
    return reinterpret_cast<void*>(start);
}

void FreeAligned(void* block) noexcept
{
    if (block)
        std::free(static_cast<void**>(block)[-1]);
}

void* Allocate(std::size_t size)
{
    if (void* block = TryAllocate(size))
        return block;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::size_t alignment)
{
    if (void* block = TryAllocateAligned(size, alignment))
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
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return AllocateAligned(size, std::size_t(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return AllocateAligned(size, std::size_t(alignment));
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return TryAllocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return TryAllocate(size);
}

void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return TryAllocateAligned(size, std::size_t(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return TryAllocateAligned(size, std::size_t(alignment));
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
    FreeAligned(block);
}
void operator delete[](void* block, std::align_val_t) noexcept
{
    FreeAligned(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept
{
    FreeAligned(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept
{
    FreeAligned(block);
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
    FreeAligned(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept
{
    FreeAligned(block);
}
