// Drawing on a TBitmap with the semantics the program relies on: fills and
// copies exclude right and bottom, StretchDraw averages areas when it shrinks
// (Qt's smooth scaling is bilinear and would differ) unless the source is
// transparent (only key and ink colours arrive, and thin strokes stay), Draw
// honours the source's transparent colour, and text is drawn without
// anti-aliasing so that every glyph pixel carries exactly the font colour.
#pragma once

#include <string>

#include "platform/font.h"
#include "platform/graphics_types.h"

class TBitmap;

enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psDash, psDot, psClear };
enum class TPenMode { pmCopy, pmNot, pmXor };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
};

// DrawText flags and text alignments of the text output.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_CENTER = 6;

class TCanvas {
public:
    explicit TCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

    TBrush Brush;
    TPen Pen;
    TFont Font;

    void FillRect(const TRect& rect);
    void Rectangle(int left, int top, int right, int bottom);
    void FrameRect(const TRect& rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);  // excludes the end point

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    void Draw(int x, int y, const TBitmap& source);
    void StretchDraw(const TRect& dest, const TBitmap& source);
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect);

    // Text output with the current font (its record's width and escapement
    // included). TextOut draws "&" literally; DrawText treats it as a prefix
    // unless DT_NOPREFIX is given, and honours the text alignment.
    void TextOut(int x, int y, const std::string& text);
    int DrawText(const std::string& text, TRect& rect, unsigned flags);
    unsigned SetTextAlign(unsigned align);
    unsigned TextAlign() const { return textAlign_; }
    // The area that text output has changed since the last reset (empty
    // when none): a caller that starts from a plain bitmap need look no
    // further for what was drawn.
    TRect TextWritten() const { return textWritten_; }
    void ResetTextWritten() { textWritten_ = {}; }
    // While set, text output changes no pixel and only widens TextWritten()
    // by the area it would change, so that a caller can ready that area alone.
    bool TextDryRun = false;

private:
    TBitmap& bitmap_;
    TPoint penPos_;
    unsigned textAlign_ = TA_LEFT | TA_TOP;
    TRect textWritten_;
};
