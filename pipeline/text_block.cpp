// Text blocks: font set-up, measuring, drawing of the lines, smoothing and
// the transparent overlay.
#include "pipeline/text_block.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "pipeline/edge_smoothing.h"

namespace {

constexpr int kNoSmoothing = 4;

// DrawText flag sets of the text output.
constexpr unsigned kSingleLine = DT_NOCLIP | DT_SINGLELINE;
constexpr unsigned kCentredLine = DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_CENTER;

void SetUpFont(TCanvas& canvas, const TFont& font, int angle, int horizontalScale)
{
    canvas.Font.Assign(font);
    canvas.Brush.Style = TBrushStyle::bsClear;
    LOGFONT record = canvas.Font.Handle();
    record.lfHeight = font.Height();
    record.lfWidth = font.Height() * horizontalScale / 100 / 2;
    record.lfEscapement = angle * 10;
    canvas.Font.SetHandle(record);
}

TRect Measure(TCanvas& canvas, const std::string& piece)
{
    TRect rect;
    canvas.DrawText(piece, rect, DT_CALCRECT);
    return rect;
}

enum class Variant { output, preview };

// Draws the lines of a laid-out block with its start point at start.
void DrawLines(TCanvas& canvas, const std::string& text, const TextBlockLayout& layout, TPoint start, Variant variant)
{
    const TextPlacement& place = layout.placement;
    if (layout.angle == 0) {
        if (!layout.lines.separated) {
            // The rectangle is exactly as wide as the text: both put it at start.
            TRect rect = Rect(start.x, start.y, start.x + layout.maxW, start.y + layout.lineH);
            canvas.DrawText(text, rect, variant == Variant::output ? kSingleLine : kCentredLine);
            return;
        }
        int top = start.y;
        for (const std::string& piece : layout.lines.pieces) {
            TRect rect = Rect(start.x, top, start.x + layout.maxW, top + layout.lineH);
            canvas.DrawText(piece, rect, kCentredLine);
            top = NextLineTop(top, layout.lineH, layout.lineSpacing);
        }
        return;
    }
    // The point given to the output is the top centre of the turned line.
    canvas.SetTextAlign(TA_CENTER);
    if (layout.lines.separated) {
        TPoint point = start;
        for (const std::string& piece : layout.lines.pieces) {
            canvas.TextOut(point.x, point.y, piece);
            point.x += place.stepX;
            point.y += place.stepY;
        }
    } else if (variant == Variant::output) {
        TRect rect = Rect(start.x, start.y, start.x + layout.maxW, start.y + layout.lineH);
        canvas.DrawText(text, rect, kCentredLine);
    } else {
        canvas.TextOut(start.x, start.y, text);
    }
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
}

// Bounds of the pixels that are not white, or an empty rectangle. Rows are
// tested eight bytes at a time: the layer is white but for the text.
TRect NonWhiteBounds(const TBitmap& bitmap, const TRect& area)
{
    TRect bounds{bitmap.Width(), bitmap.Height(), 0, 0};
    const int left = std::max(area.Left, 0);
    const int right = std::min(area.Right, bitmap.Width());
    if (left >= right)
        return bounds;
    const std::size_t rowBytes = static_cast<std::size_t>(right - left) * 3;
    const std::size_t words = rowBytes / 8;
    for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, bitmap.Height()); ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y) + left * 3;
        std::size_t first = 0;
        while (first < words * 8) {
            std::uint64_t word;
            std::memcpy(&word, row + first, 8);
            if (word != ~std::uint64_t{0})
                break;
            first += 8;
        }
        while (first < rowBytes && row[first] == 0xFF)
            ++first;
        if (first == rowBytes)
            continue;
        std::size_t last = rowBytes - 1;
        while (row[last] == 0xFF)
            --last;
        bounds.Left = std::min(bounds.Left, left + static_cast<int>(first / 3));
        bounds.Right = std::max(bounds.Right, left + static_cast<int>(last / 3) + 1);
        bounds.Top = std::min(bounds.Top, y);
        bounds.Bottom = y + 1;
    }
    return bounds;
}

// The part of area inside bitmap made white.
void FillWhite(TBitmap& bitmap, const TRect& area)
{
    const int left = std::max(area.Left, 0);
    const int right = std::min(area.Right, bitmap.Width());
    if (left >= right)
        return;
    for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, bitmap.Height()); ++y)
        std::memset(bitmap.ScanLine(y) + left * 3, 0xFF, static_cast<std::size_t>(right - left) * 3);
}

// Every non-white pixel of layer within area replaces the pixel of target.
void OverlayNonWhite(const TBitmap& layer, TBitmap& target, const TRect& area)
{
    for (int y = area.Top; y < area.Bottom; ++y) {
        const std::uint8_t* source = layer.ScanLine(y) + area.Left * 3;
        std::uint8_t* dest = target.ScanLine(y) + area.Left * 3;
        for (int x = area.Left; x < area.Right; ++x, source += 3, dest += 3) {
            if (source[0] != 0xFF || source[1] != 0xFF || source[2] != 0xFF) {
                dest[0] = source[0];
                dest[1] = source[1];
                dest[2] = source[2];
            }
        }
    }
}

}  // namespace

TextBlockLayout LayOutTextBlock(TCanvas& canvas, const std::string& text, const TextBlockStyle& style)
{
    TextBlockLayout layout;
    layout.angle = NormaliseAngle(style.angle);
    layout.lineSpacing = style.lineSpacing;
    SetUpFont(canvas, style.font, layout.angle, style.horizontalScale);
    layout.lines = SplitTextLines(text);
    const int n = layout.lines.Count();
    if (n == 1) {
        const TRect whole = Measure(canvas, text);
        layout.maxW = whole.Width();
        layout.lineH = whole.Height();
    } else {
        for (const std::string& piece : layout.lines.pieces) {
            const TRect rect = Measure(canvas, piece);
            layout.maxW = std::max(layout.maxW, rect.Width());
            layout.lineH = rect.Height();
        }
    }
    layout.blockH = BlockHeight(layout.lineH, n, style.lineSpacing);
    layout.placement = PlaceTextBlock(layout.maxW, layout.blockH, layout.lineH, style.lineSpacing, layout.angle);
    return layout;
}

void DrawTextBlock(TBitmap& textLayer, TBitmap& target, int x, int y, const std::string& text,
                   const TextBlockStyle& style, PixelPlane& scratch)
{
    const int width = target.Width();
    const int height = target.Height();
    textLayer.SetSize(width, height);
    TCanvas& canvas = *textLayer.Canvas();
    const TextBlockLayout layout = LayOutTextBlock(canvas, text, style);
    const TPoint start{layout.placement.start.x + x, layout.placement.start.y + y};
    // Only what the text output changes, and the pixel around it that the
    // smoothing and the overlay read, is made white: the rest of the layer
    // is never read, and a picture-sized fill would cost more than the text.
    canvas.ResetTextWritten();
    canvas.TextDryRun = true;
    DrawLines(canvas, text, layout, start, Variant::output);
    canvas.TextDryRun = false;
    const TRect reach = canvas.TextWritten();
    FillWhite(textLayer, {reach.Left - kTextEdgeReach, reach.Top - kTextEdgeReach, reach.Right + kTextEdgeReach,
                          reach.Bottom + kTextEdgeReach});
    canvas.ResetTextWritten();
    DrawLines(canvas, text, layout, start, Variant::output);

    // The text is small against the picture: the smoothing and the overlay
    // need only its surroundings, and the layer is white beyond what the
    // text output wrote.
    const TRect drawn = NonWhiteBounds(textLayer, canvas.TextWritten());
    if (drawn.Right <= drawn.Left)
        return;
    if (style.blurPattern != kNoSmoothing)
        SmoothTextEdges(textLayer, target, width / 2, height / 2, width, height, style.font.Color(),
                        style.blurPattern, scratch, drawn);
    const TRect area{std::max(drawn.Left - kTextEdgeReach, 0), std::max(drawn.Top - kTextEdgeReach, 0),
                     std::min(drawn.Right + kTextEdgeReach, width), std::min(drawn.Bottom + kTextEdgeReach, height)};
    OverlayNonWhite(textLayer, target, area);
}

void RenderTextPreviewLayer(TBitmap& layer, const std::string& text, const TextBlockStyle& style)
{
    TCanvas& canvas = *layer.Canvas();
    const TextBlockLayout layout = LayOutTextBlock(canvas, text, style);
    layer.SetSize(layout.placement.width, layout.placement.height);
    layer.Fill(clWhite);
    // White is the see-through colour, wherever the text reaches.
    layer.Transparent = true;
    layer.SetTransparentColor(clWhite);
    DrawLines(canvas, text, layout, layout.placement.start, Variant::preview);
}
