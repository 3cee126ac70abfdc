// Uninitialised, growing pixel storage with huge pages for big blocks.
#include "platform/pixel_storage.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>
#include <utility>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

PixelStorage::~PixelStorage()
{
    std::free(data_);
}

void PixelStorage::Reserve(std::size_t bytes)
{
    if (bytes <= capacity_)
        return;
    std::free(data_);
    data_ = nullptr;
    capacity_ = 0;
    const bool huge = bytes >= kHugePage;
    // Whole huge pages, aligned to them: the kernel can then back the block
    // with huge pages from its first touch.
    const std::size_t size = huge ? (bytes + kHugePage - 1) / kHugePage * kHugePage : bytes;
    void* block = huge ? std::aligned_alloc(kHugePage, size) : std::malloc(size);
    if (!block)
        throw std::bad_alloc();
    if (huge)
        madvise(block, size, MADV_HUGEPAGE);
    data_ = static_cast<std::uint8_t*>(block);
    capacity_ = size;
}

void PixelStorage::Swap(PixelStorage& other) noexcept
{
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
}
