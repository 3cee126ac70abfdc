// Text output of the canvas: TextOut, DrawText and the text alignment, with
// the font record's width (horizontal scale 2|lfWidth|/|lfHeight|) and
// escapement (counter-clockwise, unlike Qt's rotation). Qt rasterises the
// glyphs without anti-aliasing into a scratch image that covers only the
// text, and its drawn pixels go into the bitmap in exactly the font colour:
// the edge smoothing recognises text by that colour, and a picture-sized
// scratch image per text would cost more than the text itself. DrawText
// lays out a single line (the program's texts carry no line breaks), and an
// empty text measures 0 wide and one line high.
#include "platform/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QString>
#include <QTransform>

#include "platform/bitmap.h"
#include "platform/qt_font.h"

namespace {

// Alignment bits beyond TA_CENTER: horizontal right, vertical bottom/baseline.
constexpr unsigned kHorizontalBits = 6;
constexpr unsigned kTaRight = 2;
constexpr unsigned kVerticalBits = 24;
constexpr unsigned kTaBottom = 8;
constexpr unsigned kTaBaseline = 24;

// The canvas font as Qt draws it.
struct TextFace {
    QFont font;
    double widthScale = 1;
    double escapement = 0;  // degrees, counter-clockwise
    int ascent = 0;
    int lineHeight = 0;     // ascent + descent
};

// Ascent and line height from the font's horizontal header, as the system
// measures a line: the IPA fonts, like the fonts they stand in for, have
// ascent + descent = 1 em there, while Qt's metrics take the larger
// Windows descent of their OS/2 table.
void LineMetrics(TextFace& face)
{
    const QRawFont raw = QRawFont::fromFont(face.font);
    const QByteArray hhea = raw.fontTable("hhea");
    if (raw.isValid() && raw.unitsPerEm() > 0 && hhea.size() >= 8) {
        const auto unitsAt = [&hhea](int offset) {
            return static_cast<std::int16_t>((static_cast<std::uint8_t>(hhea[offset]) << 8)
                                             | static_cast<std::uint8_t>(hhea[offset + 1]));
        };
        const double scale = raw.pixelSize() / raw.unitsPerEm();
        const int ascender = unitsAt(4);
        const int descender = -unitsAt(6);
        if (ascender + descender > 0) {
            face.ascent = static_cast<int>(std::lround(ascender * scale));
            face.lineHeight = static_cast<int>(std::lround((ascender + descender) * scale));
            return;
        }
    }
    const QFontMetrics metrics(face.font);
    face.ascent = metrics.ascent();
    face.lineHeight = metrics.ascent() + metrics.descent();
}

TextFace FaceOf(const TFont& font)
{
    const LOGFONT record = font.Handle();
    TextFace face;
    face.font = QFontFromLogFont(record);
    // Qt's font stretch only approximates a width; scaling the drawing is exact.
    if (record.lfWidth != 0 && record.lfHeight != 0)
        face.widthScale = 2.0 * std::abs(record.lfWidth) / std::abs(record.lfHeight);
    face.escapement = record.lfEscapement / 10.0;
    LineMetrics(face);
    return face;
}

// A text as it appears, with the characters that a prefix underlines.
struct ShownText {
    QString text;
    std::vector<std::pair<int, int>> underlined;  // start, length in UTF-16 units
};

ShownText Literal(const std::string& text)
{
    return {QString::fromStdString(text), {}};
}

// DrawText's prefix rule: "&&" shows "&", "&x" shows x underlined, and a
// final lone "&" shows nothing.
ShownText WithPrefixes(const std::string& text)
{
    const QString source = QString::fromStdString(text);
    ShownText shown;
    for (qsizetype i = 0; i < source.size(); ++i) {
        if (source[i] != u'&') {
            shown.text += source[i];
            continue;
        }
        if (++i == source.size())
            break;
        if (source[i] != u'&') {
            const int length = (source[i].isHighSurrogate() && i + 1 < source.size()) ? 2 : 1;
            shown.underlined.emplace_back(static_cast<int>(shown.text.size()), length);
            shown.text += source.mid(i, length);
            i += length - 1;
            continue;
        }
        shown.text += u'&';
    }
    return shown;
}

// The advance width in bitmap pixels, the horizontal scale applied.
int WidthOf(const TextFace& face, const QString& text)
{
    return static_cast<int>(std::lround(QFontMetricsF(face.font).horizontalAdvance(text) * face.widthScale));
}

// Draws shown with its reference point at (x, y) under align; the brush
// fills the text cell first when it is solid. clip, when given, bounds the
// changed pixels, which are only noted in written when dryRun. Returns the
// width of the text.
int Output(TBitmap& bitmap, const TextFace& face, const ShownText& shown, int x, int y, unsigned align,
           TColor textColour, const TBrush& brush, const TRect* clip, TRect& written, bool dryRun)
{
    const int width = WidthOf(face, shown.text);
    if (shown.text.isEmpty())
        return width;
    int offsetX = 0;
    if ((align & kHorizontalBits) == TA_CENTER)
        offsetX = -(width / 2);
    else if ((align & kHorizontalBits) == kTaRight)
        offsetX = -width;
    int offsetY = 0;
    if ((align & kVerticalBits) == kTaBaseline)
        offsetY = -face.ascent;
    else if ((align & kVerticalBits) == kTaBottom)
        offsetY = -face.lineHeight;

    QTransform place;
    place.translate(x, y);
    place.rotate(-face.escapement);
    place.translate(offsetX, offsetY);
    // Glyphs may reach beyond their cell (italic overhang, accents, underline).
    const int margin = face.lineHeight + 2;
    QRect box = place.mapRect(QRectF(-margin, -margin, width + 2.0 * margin, face.lineHeight + 2.0 * margin))
                    .toAlignedRect();
    box &= QRect(0, 0, bitmap.Width(), bitmap.Height());
    if (clip)
        box &= QRect(clip->Left, clip->Top, clip->Width(), clip->Height());
    if (box.isEmpty())
        return width;
    // Every pixel this output may change lies in box.
    if (written.Right <= written.Left || written.Bottom <= written.Top)
        written = {box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    else
        written = {std::min(written.Left, box.left()), std::min(written.Top, box.top()),
                   std::max(written.Right, box.right() + 1), std::max(written.Bottom, box.bottom() + 1)};
    if (dryRun)
        return width;

    const bool opaque = brush.Style == TBrushStyle::bsSolid;
    const QColor pen = QColorFromTColor(textColour);
    QImage scratch(box.size(), QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.translate(-box.left(), -box.top());
        painter.setTransform(place, true);
        painter.scale(face.widthScale, 1);
        const QFontMetricsF metrics(face.font);
        if (opaque)
            painter.fillRect(QRectF(0, 0, width / face.widthScale, face.lineHeight), QColorFromTColor(brush.Color));
        painter.setFont(face.font);
        painter.setPen(pen);
        painter.drawText(QPointF(0, face.ascent), shown.text);
        for (const auto& [start, length] : shown.underlined) {
            const double left = metrics.horizontalAdvance(shown.text.left(start));
            const double right = metrics.horizontalAdvance(shown.text.left(start + length));
            painter.fillRect(QRectF(left, face.ascent + metrics.underlinePos(), right - left,
                                    std::max(1.0, metrics.lineWidth())),
                             pen);
        }
    }

    // Text pixels take the exact colour; with a solid brush the scratch holds
    // only the two exact colours, so its pixels are taken as they are.
    const TColor text = ColorToRGB(textColour);
    const std::uint8_t textBgr[3] = {static_cast<std::uint8_t>(GetBValue(text)),
                                     static_cast<std::uint8_t>(GetGValue(text)),
                                     static_cast<std::uint8_t>(GetRValue(text))};
    for (int row = 0; row < box.height(); ++row) {
        const QRgb* source = reinterpret_cast<const QRgb*>(scratch.constScanLine(row));
        std::uint8_t* target = bitmap.ScanLine(box.top() + row) + box.left() * 3;
        for (int col = 0; col < box.width(); ++col, target += 3) {
            const QRgb pixel = source[col];
            if (qAlpha(pixel) == 0)
                continue;
            if (opaque) {
                target[0] = static_cast<std::uint8_t>(qBlue(pixel));
                target[1] = static_cast<std::uint8_t>(qGreen(pixel));
                target[2] = static_cast<std::uint8_t>(qRed(pixel));
            } else {
                target[0] = textBgr[0];
                target[1] = textBgr[1];
                target[2] = textBgr[2];
            }
        }
    }
    return width;
}

}  // namespace

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    const int width = Output(bitmap_, FaceOf(Font), Literal(text), x, y, textAlign_, Font.Color(), Brush, nullptr,
                             textWritten_, TextDryRun);
    penPos_ = {x + width, y};
}

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags)
{
    const TextFace face = FaceOf(Font);
    const ShownText shown = (flags & DT_NOPREFIX) ? Literal(text) : WithPrefixes(text);
    if (flags & DT_CALCRECT) {
        rect.Right = rect.Left + WidthOf(face, shown.text);
        rect.Bottom = rect.Top + face.lineHeight;
        return face.lineHeight;
    }
    // The reference point is found as for left-aligned text, then the
    // current alignment applies to it.
    int x = rect.Left;
    int y = rect.Top;
    if (flags & DT_CENTER)
        x += (rect.Width() - WidthOf(face, shown.text)) / 2;
    if ((flags & DT_VCENTER) && (flags & DT_SINGLELINE))
        y += (rect.Height() - face.lineHeight) / 2;
    Output(bitmap_, face, shown, x, y, textAlign_, Font.Color(), Brush, (flags & DT_NOCLIP) ? nullptr : &rect,
           textWritten_, TextDryRun);
    return face.lineHeight;
}

unsigned TCanvas::SetTextAlign(unsigned align)
{
    const unsigned previous = textAlign_;
    textAlign_ = align;
    return previous;
}
