// A 24-bit picture with direct row access: rows top-down, pixels B, G, R,
// each row padded to 4 bytes. The pipeline walks rows through ScanLine();
// drawing that needs fonts or stretching goes through Canvas().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/graphics_types.h"
#include "platform/pixel_storage.h"

class TCanvas;

enum class TPixelFormat { pfDevice, pf24bit };
enum class TTransparentMode { tmAuto, tmFixed };

class TBitmap {
public:
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Content after a size change is unspecified (callers fill or copy next):
    // storage is reused when it is large enough, so resizing does not
    // allocate, and new storage is neither cleared nor copied into. When the
    // pixels cannot be had the bitmap is left empty (0 x 0) and EOutOfMemory
    // names the size asked for.
    void SetSize(int width, int height);

    // Storage is always 24-bit; the format is kept only because code sets it.
    TPixelFormat PixelFormat = TPixelFormat::pf24bit;

    std::uint8_t* ScanLine(int y) { return data_.Data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* ScanLine(int y) const { return data_.Data() + static_cast<std::size_t>(y) * stride_; }
    int RowStride() const { return stride_; }

    // The pixel as a TColor, or clWhite outside the picture (an invalid read).
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    bool Transparent = false;
    TTransparentMode TransparentMode = TTransparentMode::tmAuto;
    // In auto mode the key is the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);

    // Copies size and pixels of another bitmap (not its transparency).
    void Assign(const TBitmap& source);
    // Exchanges size and pixels with another bitmap without copying them;
    // each keeps its own transparency and canvas, so a picture handed on
    // this way never takes another's role with it.
    void ExchangePixels(TBitmap& other);
    void Fill(TColor color);

    TCanvas* Canvas();

private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    PixelStorage data_;
    TColor transparentColor_ = clBlack;
    std::unique_ptr<TCanvas> canvas_;
};

// Tests: makes the pixels of every picture for which failWhen(width, height)
// holds impossible to have, as when memory runs out, on any thread. An empty
// function removes the fault.
void SetPictureAllocationFaultForTesting(std::function<bool(int width, int height)> failWhen);
