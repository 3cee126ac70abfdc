// A font as the forms hold it (name, height in pixels, style, colour, character
// set) and the font record of the text output (LOGFONT). Heights follow the
// original convention: negative = character height in pixels; sizes in points
// convert at a fixed 96 pixels per inch (30 pt = -40).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/graphics_types.h"

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

enum class TFontPitch { fpDefault, fpVariable, fpFixed };

constexpr int kScreenPixelsPerInch = 96;

// The face every text of the program starts with.
inline constexpr char kDefaultFaceName[] = "ＭＳ Ｐゴシック";

struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;  // tenths of a degree, counter-clockwise
    int lfOrientation = 0;
    int lfWeight = 400;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 1;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName;  // the whole name
    bool operator==(const LOGFONT&) const = default;
};

class TFont {
public:
    TFont() = default;
    // A copy is a new font: it takes the properties, not the listener.
    TFont(const TFont& other) { copyFrom(other); }
    TFont& operator=(const TFont& other)
    {
        Assign(other);
        return *this;
    }

    std::string Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Charset() const { return charset_; }
    void SetCharset(int charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    // Takes every property of other (record fields included), then reports.
    void Assign(const TFont& other);

    // The font record: the properties plus the fields that only a record
    // carries (width, escapement, orientation). Setting it replaces
    // everything but the colour.
    LOGFONT Handle() const;
    void SetHandle(const LOGFONT& record);

    std::function<void()> OnChange;

private:
    void changed();
    void copyFrom(const TFont& other);
    std::string name_ = kDefaultFaceName;
    int height_ = -12;
    TFontStyles style_ = 0;
    TColor color_ = clBlack;
    int charset_ = 1;
    TFontPitch pitch_ = TFontPitch::fpDefault;
    int width_ = 0;
    int escapement_ = 0;
    int orientation_ = 0;
};

// Maps the stored Windows font names to the installed IPA fonts. Called once
// by the application object; harmless to call again.
void InstallFontSubstitutions();
