// 24-bit bitmap storage.
#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/text_format.h"

namespace {

std::function<bool(int, int)>& AllocationFault()
{
    static std::function<bool(int, int)> failWhen;
    return failWhen;
}

}  // namespace

void SetPictureAllocationFaultForTesting(std::function<bool(int width, int height)> failWhen)
{
    AllocationFault() = std::move(failWhen);
}

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    try {
        if (stride > static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
            (AllocationFault() && AllocationFault()(width, height)))
            throw std::bad_alloc();
        data_.Reserve(stride * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        // The old pixels may be gone already: the bitmap becomes empty
        // rather than claim a size it has no pixels for.
        width_ = height_ = stride_ = 0;
        throw EOutOfMemory(Format("メモリが足りません。(%d×%d の画像)", width, height));
    }
    width_ = width;
    height_ = height;
    stride_ = static_cast<int>(stride);
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return clWhite;
    const std::uint8_t* p = ScanLine(y) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, TColor color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    std::uint8_t* p = ScanLine(y) + x * 3;
    p[0] = static_cast<std::uint8_t>(GetBValue(color));
    p[1] = static_cast<std::uint8_t>(GetGValue(color));
    p[2] = static_cast<std::uint8_t>(GetRValue(color));
}

TColor TBitmap::TransparentColor() const
{
    if (TransparentMode == TTransparentMode::tmFixed)
        return transparentColor_;
    return Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color)
{
    transparentColor_ = ColorToRGB(color);
    TransparentMode = TTransparentMode::tmFixed;
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    SetSize(source.width_, source.height_);
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), source.ScanLine(y), rowBytes);
}

void TBitmap::ExchangePixels(TBitmap& other)
{
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(stride_, other.stride_);
    data_.Swap(other.data_);
}

void TBitmap::Fill(TColor color)
{
    const std::uint8_t b = static_cast<std::uint8_t>(GetBValue(color));
    const std::uint8_t g = static_cast<std::uint8_t>(GetGValue(color));
    const std::uint8_t r = static_cast<std::uint8_t>(GetRValue(color));
    if (height_ == 0 || width_ == 0)
        return;
    std::uint8_t* first = ScanLine(0);
    if (b == g && g == r) {
        for (int y = 0; y < height_; ++y)
            std::memset(ScanLine(y), b, static_cast<std::size_t>(width_) * 3);
        return;
    }
    for (int x = 0; x < width_; ++x) {
        first[x * 3] = b;
        first[x * 3 + 1] = g;
        first[x * 3 + 2] = r;
    }
    for (int y = 1; y < height_; ++y)
        std::memcpy(ScanLine(y), first, static_cast<std::size_t>(width_) * 3);
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>(*this);
    return canvas_.get();
}
