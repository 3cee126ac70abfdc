// Frame settings files: one frame layout in an INI file in code page 932,
// section Frame (frame image name, geometry in pixels, trimming alignment),
// sections Title, Date and Other (each text with its font, angle and
// vertical-writing flag) and section Config (line spacing). A file is read
// whole into a TFrameSettings and checked before anything takes its values;
// a write changes only the keys it writes, in one atomic replace.
#pragma once

#include <array>
#include <string>

#include "pipeline/frame_layout.h"
#include "pipeline/frame_text.h"

struct TFrameSettings {
    std::string PhotoFile;  // the frame image's file name, as stored
    TFrameLayout Layout;    // pixels
    // 1 top, 2 centre, 3 bottom; 0 (none selected) is not written.
    int ReferencePosition = 1;
    std::array<TFrameText, 3> Texts;  // title, date, other
    int LineSpacing = 10;             // percent, 0..100

    TFrameText& Text(TFrameTextKind kind) { return Texts[static_cast<std::size_t>(kind)]; }
    const TFrameText& Text(TFrameTextKind kind) const { return Texts[static_cast<std::size_t>(kind)]; }
};

// The title that a file without one (or with an empty one) gives.
inline constexpr char kDefaultTitleText[] = "[タイトル文字列]";
// The font size a file gives when it holds none or an absurd one.
constexpr int kDefaultFontSize = 54;
// The largest length the window's 4-character fields can show.
constexpr int kMaxFrameLength = 9999;

// Reads the file at path (missing keys take their defaults).
TFrameSettings ReadFrameSettings(const std::string& path);

// Where the frame image of settings read from path lies: a bare file name
// beside the settings file, a name with a folder as it is.
std::string ResolveFrameImagePath(const std::string& photoFile, const std::string& settingsPath);

// The texts that refuse settings read from path, in order: the missing frame
// image (ending in a line break), then each failed geometry check; empty
// when the settings may be taken.
std::string CheckFrameSettings(const TFrameSettings& settings, const std::string& settingsPath);

// The frame image's name for a settings file: its file name without folder
// and last extension, followed by ".bmp" ("a.b.ini" gives "a.b.bmp").
std::string FrameImageName(const std::string& settingsPath);

// Writes every key of settings into the file at path, keeping its other
// lines. Throws Exception("<path> に書き込めません") when it cannot; the file
// is then as it was.
void WriteFrameSettings(const std::string& path, const TFrameSettings& settings);
