// Fills, copies, lines and pixels of the canvas, on the bitmap's rows.
#include "platform/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/bitmap.h"
#include "platform/stretch.h"

namespace {

// The part of rect that lies inside a width x height picture.
TRect Clip(TRect rect, int width, int height)
{
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, width);
    rect.Bottom = std::min(rect.Bottom, height);
    return rect;
}

void FillClipped(TBitmap& bitmap, const TRect& area, TColor color)
{
    const TRect r = Clip(area, bitmap.Width(), bitmap.Height());
    if (r.Left >= r.Right || r.Top >= r.Bottom)
        return;
    const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(GetBValue(color)),
                                 static_cast<std::uint8_t>(GetGValue(color)),
                                 static_cast<std::uint8_t>(GetRValue(color))};
    std::uint8_t* first = bitmap.ScanLine(r.Top) + r.Left * 3;
    for (int x = 0; x < r.Width(); ++x)
        std::memcpy(first + x * 3, bgr, 3);
    for (int y = r.Top + 1; y < r.Bottom; ++y)
        std::memcpy(bitmap.ScanLine(y) + r.Left * 3, first, static_cast<std::size_t>(r.Width()) * 3);
}

}  // namespace

void TCanvas::FillRect(const TRect& rect)
{
    if (Brush.Style == TBrushStyle::bsClear)
        return;
    FillClipped(bitmap_, rect, ColorToRGB(Brush.Color));
}

void TCanvas::FrameRect(const TRect& rect)
{
    const TColor color = ColorToRGB(Brush.Color);
    FillClipped(bitmap_, {rect.Left, rect.Top, rect.Right, rect.Top + 1}, color);
    FillClipped(bitmap_, {rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, color);
    FillClipped(bitmap_, {rect.Left, rect.Top, rect.Left + 1, rect.Bottom}, color);
    FillClipped(bitmap_, {rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, color);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    // Brush inside, pen outline; the rectangle covers right - left pixels.
    if (Brush.Style != TBrushStyle::bsClear)
        FillClipped(bitmap_, {left + 1, top + 1, right - 1, bottom - 1}, ColorToRGB(Brush.Color));
    if (Pen.Style == TPenStyle::psClear)
        return;
    const TColor color = ColorToRGB(Pen.Color);
    const int w = std::max(Pen.Width, 1);
    FillClipped(bitmap_, {left, top, right, top + w}, color);
    FillClipped(bitmap_, {left, bottom - w, right, bottom}, color);
    FillClipped(bitmap_, {left, top, left + w, bottom}, color);
    FillClipped(bitmap_, {right - w, top, right, bottom}, color);
}

void TCanvas::MoveTo(int x, int y)
{
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    // Bresenham from the pen position, excluding the end point.
    int x0 = penPos_.x;
    int y0 = penPos_.y;
    const int dx = std::abs(x - x0);
    const int dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1;
    const int sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    const TColor color = ColorToRGB(Pen.Color);
    while (x0 != x || y0 != y) {
        if (Pen.Mode == TPenMode::pmNot)
            bitmap_.SetPixel(x0, y0, ~bitmap_.Pixel(x0, y0) & 0xFFFFFF);
        else
            bitmap_.SetPixel(x0, y0, color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    penPos_ = {x, y};
}

TColor TCanvas::Pixel(int x, int y) const
{
    return bitmap_.Pixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    bitmap_.SetPixel(x, y, ColorToRGB(color));
}

void TCanvas::Draw(int x, int y, const TBitmap& source)
{
    const TRect target = Clip({x, y, x + source.Width(), y + source.Height()}, bitmap_.Width(), bitmap_.Height());
    if (target.Left >= target.Right || target.Top >= target.Bottom)
        return;
    const std::size_t width = static_cast<std::size_t>(target.Width());
    if (!source.Transparent) {
        for (int ty = target.Top; ty < target.Bottom; ++ty)
            std::memcpy(bitmap_.ScanLine(ty) + target.Left * 3, source.ScanLine(ty - y) + (target.Left - x) * 3,
                        width * 3);
        return;
    }
    // Pixels of the transparent colour let the picture beneath show.
    const TColor key = source.TransparentColor();
    const std::uint8_t kb = static_cast<std::uint8_t>(GetBValue(key));
    const std::uint8_t kg = static_cast<std::uint8_t>(GetGValue(key));
    const std::uint8_t kr = static_cast<std::uint8_t>(GetRValue(key));
    for (int ty = target.Top; ty < target.Bottom; ++ty) {
        const std::uint8_t* s = source.ScanLine(ty - y) + (target.Left - x) * 3;
        std::uint8_t* d = bitmap_.ScanLine(ty) + target.Left * 3;
        for (std::size_t i = 0; i < width; ++i, s += 3, d += 3)
            if (s[0] != kb || s[1] != kg || s[2] != kr) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
    }
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& source)
{
    if (dest.Width() == source.Width() && dest.Height() == source.Height()) {
        Draw(dest.Left, dest.Top, source);
        return;
    }
    if (source.Transparent)
        StretchKeyedBitmap(source, bitmap_, dest, source.TransparentColor());
    else
        StretchBitmap(source, bitmap_, dest);
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect)
{
    if (dest.Width() != sourceRect.Width() || dest.Height() != sourceRect.Height()) {
        TBitmap part;
        const TRect s = Clip(sourceRect, source.Width(), source.Height());
        part.SetSize(std::max(s.Width(), 0), std::max(s.Height(), 0));
        for (int y = s.Top; y < s.Bottom; ++y)
            std::memcpy(part.ScanLine(y - s.Top), source.ScanLine(y) + s.Left * 3,
                        static_cast<std::size_t>(s.Width()) * 3);
        StretchBitmap(part, bitmap_, dest);
        return;
    }
    // One to one: only the part of the source rectangle inside the source is
    // copied; target pixels beyond it keep what they had.
    const int dx = dest.Left - sourceRect.Left;
    const int dy = dest.Top - sourceRect.Top;
    TRect s = Clip(sourceRect, source.Width(), source.Height());
    s = Clip({s.Left + dx, s.Top + dy, s.Right + dx, s.Bottom + dy}, bitmap_.Width(), bitmap_.Height());
    if (s.Left >= s.Right || s.Top >= s.Bottom)
        return;
    for (int y = s.Top; y < s.Bottom; ++y)
        std::memcpy(bitmap_.ScanLine(y) + s.Left * 3, source.ScanLine(y - dy) + (s.Left - dx) * 3,
                    static_cast<std::size_t>(s.Width()) * 3);
}
