// Uninitialised, growing pixel storage; big blocks mapped on huge pages.
#include "platform/pixel_storage.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>
#include <utility>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Blocks of whole huge pages are mapped; smaller ones come from malloc, so a
// block's capacity tells which it is.
bool IsMapped(std::size_t capacity)
{
    return capacity >= kHugePage;
}

std::size_t WholeHugePages(std::size_t bytes)
{
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// size bytes (whole huge pages) aligned to a huge page: mapped with a huge
// page to spare, whose unaligned ends are given back, so that the kernel can
// back the block with huge pages from its first touch.
std::uint8_t* MapAligned(std::size_t size)
{
    const std::size_t span = size + kHugePage;
    void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    auto* start = static_cast<std::uint8_t*>(mapped);
    const std::size_t lead = (kHugePage - reinterpret_cast<std::uintptr_t>(start) % kHugePage) % kHugePage;
    if (lead > 0)
        munmap(start, lead);
    munmap(start + lead + size, kHugePage - lead);
    madvise(start + lead, size, MADV_HUGEPAGE);
    return start + lead;
}

}  // namespace

PixelStorage::~PixelStorage()
{
    release();
}

void PixelStorage::release() noexcept
{
    if (IsMapped(capacity_))
        munmap(data_, capacity_);
    else
        std::free(data_);
    data_ = nullptr;
    capacity_ = 0;
    inUse_ = 0;
}

void PixelStorage::keepPagesFor(std::size_t bytes) noexcept
{
    const std::size_t needed = WholeHugePages(bytes);
    // The kernel hands out zeroed pages there again when they are touched.
    if (needed < inUse_)
        madvise(data_ + needed, inUse_ - needed, MADV_DONTNEED);
    inUse_ = needed;
}

void PixelStorage::Reserve(std::size_t bytes)
{
    if (bytes <= capacity_) {
        if (IsMapped(capacity_))
            keepPagesFor(bytes);
        return;
    }
    release();
    if (bytes >= kHugePage) {
        const std::size_t size = WholeHugePages(bytes);
        data_ = MapAligned(size);
        capacity_ = size;
        inUse_ = size;
        return;
    }
    void* block = std::malloc(bytes);
    if (!block)
        throw std::bad_alloc();
    data_ = static_cast<std::uint8_t*>(block);
    capacity_ = bytes;
}

void PixelStorage::Swap(PixelStorage& other) noexcept
{
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    std::swap(inUse_, other.inUse_);
}
