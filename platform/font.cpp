// Fonts: the properties of TFont, their record (LOGFONT) and the Qt fonts
// that draw them. Heights are pixels (negative = em height). The record's
// face name is the whole name: a Japanese name of eleven characters is 33
// bytes of UTF-8, and a cut name would draw with another font.
#include "platform/font.h"

#include <algorithm>
#include <cstdlib>

#include <QFont>
#include <QString>

#include "platform/qt_font.h"

namespace {

constexpr std::uint8_t kFixedPitch = 1;
constexpr std::uint8_t kVariablePitch = 2;
constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;
// What a record of height 0 ("any size") is drawn at.
constexpr int kDefaultPixelHeight = 12;

// a * b / c rounded half away from zero, as the system's MulDiv.
int MulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long magnitude = (std::llabs(product) + std::abs(c) / 2) / std::abs(c);
    return static_cast<int>(((product < 0) != (c < 0)) ? -magnitude : magnitude);
}

}  // namespace

void TFont::changed()
{
    if (OnChange)
        OnChange();
}

void TFont::copyFrom(const TFont& other)
{
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    pitch_ = other.pitch_;
    width_ = other.width_;
    escapement_ = other.escapement_;
    orientation_ = other.orientation_;
}

void TFont::SetName(const std::string& name)
{
    if (name == name_)
        return;
    name_ = name;
    changed();
}

void TFont::SetHeight(int height)
{
    if (height == height_)
        return;
    height_ = height;
    changed();
}

int TFont::Size() const
{
    return -MulDiv(height_, 72, kScreenPixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, kScreenPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_)
        return;
    style_ = style;
    changed();
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    changed();
}

void TFont::SetCharset(int charset)
{
    if (charset == charset_)
        return;
    charset_ = charset;
    changed();
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch == pitch_)
        return;
    pitch_ = pitch;
    changed();
}

void TFont::Assign(const TFont& other)
{
    if (&other == this)
        return;
    copyFrom(other);
    changed();
}

LOGFONT TFont::Handle() const
{
    LOGFONT record;
    record.lfHeight = height_;
    record.lfWidth = width_;
    record.lfEscapement = escapement_;
    record.lfOrientation = orientation_;
    record.lfWeight = (style_ & fsBold) ? kBoldWeight : kNormalWeight;
    record.lfItalic = (style_ & fsItalic) ? 1 : 0;
    record.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    record.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    record.lfCharSet = static_cast<std::uint8_t>(charset_);
    record.lfPitchAndFamily = pitch_ == TFontPitch::fpFixed      ? kFixedPitch
                              : pitch_ == TFontPitch::fpVariable ? kVariablePitch
                                                                 : 0;
    record.lfFaceName = name_;
    return record;
}

void TFont::SetHandle(const LOGFONT& record)
{
    name_ = record.lfFaceName;
    height_ = record.lfHeight;
    width_ = record.lfWidth;
    escapement_ = record.lfEscapement;
    orientation_ = record.lfOrientation;
    style_ = (record.lfWeight >= kBoldWeight ? fsBold : 0u) | (record.lfItalic ? fsItalic : 0u)
             | (record.lfUnderline ? fsUnderline : 0u) | (record.lfStrikeOut ? fsStrikeOut : 0u);
    charset_ = record.lfCharSet;
    const int pitch = record.lfPitchAndFamily & 3;
    pitch_ = pitch == kFixedPitch      ? TFontPitch::fpFixed
             : pitch == kVariablePitch ? TFontPitch::fpVariable
                                       : TFontPitch::fpDefault;
    changed();
}

void InstallFontSubstitutions()
{
    static const char* const kPairs[][2] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"ＭＳ 明朝", "IPAMincho"},
    };
    for (const auto& pair : kPairs) {
        const QString from = QString::fromUtf8(pair[0]);
        if (!QFont::substitutes(from).contains(QString::fromUtf8(pair[1])))
            QFont::insertSubstitution(from, QString::fromUtf8(pair[1]));
    }
}

QFont QFontFromLogFont(const LOGFONT& record)
{
    QFont font(QString::fromStdString(record.lfFaceName));
    // The IPA fonts' ascent + descent is one em, so a cell height (positive)
    // and a character height (negative) give the same pixel size.
    const int pixels = std::abs(record.lfHeight);
    font.setPixelSize(pixels > 0 ? pixels : kDefaultPixelHeight);
    if (record.lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::min(record.lfWeight, 1000)));
    font.setItalic(record.lfItalic != 0);
    font.setUnderline(record.lfUnderline != 0);
    font.setStrikeOut(record.lfStrikeOut != 0);
    if ((record.lfPitchAndFamily & 3) == kFixedPitch)
        font.setFixedPitch(true);
    // Every glyph pixel in exactly the text colour; advances as the system
    // lays them out, without pair kerning.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setKerning(false);
    return font;
}

QFont QFontFromFont(const TFont& font)
{
    QFont qfont = QFontFromLogFont(font.Handle());
    // Controls show their text as the rest of the desktop does.
    qfont.setStyleStrategy(QFont::PreferDefault);
    return qfont;
}
