// Storage for pictures and work planes that only grows and is never cleared:
// growing drops the old content instead of copying it, and new storage is not
// zero-filled (every user writes each pixel after a size change). Large
// blocks are aligned to 2 MB and offered to the kernel for transparent huge
// pages, so a 24-megapixel photo takes a few dozen page faults, not thousands.
#pragma once

#include <cstddef>
#include <cstdint>

class PixelStorage {
public:
    PixelStorage() = default;
    ~PixelStorage();
    PixelStorage(const PixelStorage&) = delete;
    PixelStorage& operator=(const PixelStorage&) = delete;

    // Makes room for at least bytes; the content is unspecified afterwards.
    // Throws std::bad_alloc when the memory cannot be had.
    void Reserve(std::size_t bytes);
    std::uint8_t* Data() { return data_; }
    const std::uint8_t* Data() const { return data_; }
    std::size_t Capacity() const { return capacity_; }
    void Swap(PixelStorage& other) noexcept;

private:
    std::uint8_t* data_ = nullptr;
    std::size_t capacity_ = 0;
};
