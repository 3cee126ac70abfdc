// Storage for pictures and work planes that is never cleared: growing drops
// the old content instead of copying it, and new storage is not zero-filled
// (every user writes each pixel after a size change). Large blocks are mapped
// from the system directly, aligned to 2 MB and offered to the kernel for
// transparent huge pages, so a 24-megapixel photo takes a few dozen page
// faults, not thousands. A large block keeps its address range but only the
// pages of the size last asked for: the rest go back to the system, so a
// picture handed from photo to photo holds the memory of the photo in hand,
// not of the largest of the day; and a freed block goes back at once, where
// the allocator would keep it in its arenas to fragment.
#pragma once

#include <cstddef>
#include <cstdint>

class PixelStorage {
public:
    PixelStorage() = default;
    ~PixelStorage();
    PixelStorage(const PixelStorage&) = delete;
    PixelStorage& operator=(const PixelStorage&) = delete;

    // Makes room for at least bytes; the content beyond them is dropped, and
    // within them unspecified. Throws std::bad_alloc when the memory cannot
    // be had.
    void Reserve(std::size_t bytes);
    std::uint8_t* Data() { return data_; }
    const std::uint8_t* Data() const { return data_; }
    std::size_t Capacity() const { return capacity_; }
    void Swap(PixelStorage& other) noexcept;

private:
    void release() noexcept;
    void keepPagesFor(std::size_t bytes) noexcept;

    std::uint8_t* data_ = nullptr;
    std::size_t capacity_ = 0;
    // Of a mapped block, the bytes whose pages may be in memory.
    std::size_t inUse_ = 0;
};
