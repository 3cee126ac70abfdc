// Reading, checking and writing frame settings files.
#include "frame_editor/frame_settings_file.h"

#include <algorithm>

#include "frame_editor/frame_measures.h"
#include "pipeline/output_path.h"
#include "platform/file_path.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"

namespace {

const char* const kTextSections[] = {"Title", "Date", "Other"};

struct LayoutKey {
    const char* key;
    TFrameMeasure measure;
};

// Section Frame in the order the writers write it.
constexpr LayoutKey kLayoutKeys[kFrameMeasureCount] = {
    {"Framewidth", TFrameMeasure::FrameWidth},     {"Frameheight", TFrameMeasure::FrameHeight},
    {"Photowidth", TFrameMeasure::PhotoWidth},     {"Photoheight", TFrameMeasure::PhotoHeight},
    {"Leftwidth", TFrameMeasure::LeftMargin},      {"Rightwidth", TFrameMeasure::RightMargin},
    {"Topheight", TFrameMeasure::TopMargin},       {"Bottomheight", TFrameMeasure::BottomMargin},
    {"FontPositionX", TFrameMeasure::TitleX},      {"FontPositionY", TFrameMeasure::TitleY},
    {"DatePositionX", TFrameMeasure::DateX},       {"DatePositionY", TFrameMeasure::DateY},
    {"OtherPositionX", TFrameMeasure::OtherX},     {"OtherPositionY", TFrameMeasure::OtherY},
};

const struct {
    char letter;
    TFontStyle style;
} kStyleLetters[] = {{'B', fsBold}, {'I', fsItalic}, {'U', fsUnderline}, {'S', fsStrikeOut}};

TFontStyles StyleFromLetters(const std::string& letters)
{
    TFontStyles style = 0;
    for (const auto& entry : kStyleLetters)
        if (letters.find(entry.letter) != std::string::npos)
            style |= entry.style;
    return style;
}

std::string LettersFromStyle(TFontStyles style)
{
    std::string letters;
    for (const auto& entry : kStyleLetters)
        if (style & entry.style)
            letters += entry.letter;
    return letters;
}

TFrameText ReadText(const TIniFile& ini, TFrameTextKind kind)
{
    const char* section = kTextSections[static_cast<int>(kind)];
    TFrameText text;
    text.Text = ini.ReadString(section, "Text", "");
    if (kind == TFrameTextKind::Title && text.Text.empty())
        text.Text = kDefaultTitleText;
    TFont& font = text.Font;
    font.SetStyle(StyleFromLetters(ini.ReadString(section, "Style", "")));
    font.SetColor(static_cast<TColor>(ini.ReadInteger(section, "Color", 0)));
    font.SetCharset(ini.ReadInteger(section, "Charset", 128));
    font.SetName(ini.ReadString(section, "Name", kDefaultFaceName));
    // A size no font can have would make an absurd picture.
    const int size = ini.ReadInteger(section, "Size", kDefaultFontSize);
    font.SetSize(size >= 1 && size <= 1000 ? size : kDefaultFontSize);
    text.Vertical = ini.ReadBool(section, "Vrt", false);
    text.Angle = ini.ReadInteger(section, "Angle", 0);
    return text;
}

void WriteText(TIniFile& ini, TFrameTextKind kind, const TFrameText& text)
{
    const char* section = kTextSections[static_cast<int>(kind)];
    ini.WriteInteger(section, "Charset", text.Font.Charset());
    ini.WriteString(section, "Name", text.Font.Name());
    ini.WriteInteger(section, "Size", text.Font.Size());
    ini.WriteString(section, "Style", LettersFromStyle(text.Font.Style()));
    ini.WriteInteger(section, "Color", static_cast<int>(text.Font.Color()));
    ini.WriteString(section, "Text", text.Text);
    // The date and the other text share one flag, stored with the date.
    if (kind != TFrameTextKind::Other)
        ini.WriteBool(section, "Vrt", text.Vertical);
    ini.WriteInteger(section, "Angle", text.Angle);
}

}  // namespace

TFrameSettings ReadFrameSettings(const std::string& path)
{
    const TIniFile ini(path);
    TFrameSettings settings;
    settings.PhotoFile = ini.ReadString("Frame", "PhotoFile", "");
    for (const LayoutKey& entry : kLayoutKeys)
        MeasureOf(settings.Layout, entry.measure) = ini.ReadInteger("Frame", entry.key, 0);
    const int reference = ini.ReadInteger("Frame", "ReferencePosition", 1);
    settings.ReferencePosition = reference >= 1 && reference <= 3 ? reference : 1;
    for (TFrameTextKind kind : kFrameTextKinds)
        settings.Text(kind) = ReadText(ini, kind);
    // The other text shares the date's flag; its own key, added by hand,
    // decides only where it exists.
    TFrameText& other = settings.Text(TFrameTextKind::Other);
    other.Vertical = ini.ValueExists("Other", "Vrt") ? other.Vertical : settings.Text(TFrameTextKind::Date).Vertical;
    settings.LineSpacing = std::clamp(ini.ReadInteger("Config", "Bar5", 10), 0, 100);
    return settings;
}

std::string ResolveFrameImagePath(const std::string& photoFile, const std::string& settingsPath)
{
    if (!ExtractFilePath(photoFile).empty())
        return photoFile;
    const std::string folder = ExtractFilePath(settingsPath);
    return EndsWithBackslash(folder) == 1 ? folder + photoFile : folder + "/" + photoFile;
}

std::string CheckFrameSettings(const TFrameSettings& settings, const std::string& settingsPath)
{
    std::string message;
    if (!FileExists(ResolveFrameImagePath(settings.PhotoFile, settingsPath)))
        message += "枠画像ファイルが存在しません。\n";
    const TFrameLayout& l = settings.Layout;
    const struct {
        bool fails;
        const char* text;
    } checks[] = {
        {l.Framewidth < 1 || l.Frameheight < 1, "枠サイズ設定が０以下になっています。"},
        {l.Photowidth < 1 || l.Photoheight < 1, "写真サイズ設定が０以下になっています。"},
        {l.Framewidth < l.Photowidth || l.Frameheight < l.Photoheight, "枠サイズ設定が写真サイズ以下になっています。"},
        {l.Leftwidth < 0, "左余白サイズ設定が０以下になっています。"},
        {l.Rightwidth < 0, "右余白サイズ設定が０以下になっています。"},
        {l.Topheight < 0, "上余白サイズ設定が０以下になっています。"},
        {l.Bottomheight < 0, "下余白サイズ設定が０以下になっています。"},
        {l.FontPositionY < 0, "フォント上位置設定が０以下になっています。"},
        {l.FontPositionY > l.Frameheight, "フォント上位置設定がフレームサイズ外になっています。"},
        {static_cast<long long>(l.Framewidth) - l.Leftwidth - l.Rightwidth < 0, "横余白サイズ設定が枠サイズを超えています。"},
        {static_cast<long long>(l.Frameheight) - l.Topheight - l.Bottomheight < 0,
         "縦余白サイズ設定が枠サイズを超えています。"},
        {static_cast<long long>(l.Photowidth) + l.Leftwidth + l.Rightwidth != l.Framewidth,
         "枠サイズ設定（横）と写真幅+余白設定の値が合致しません。"},
        {static_cast<long long>(l.Photoheight) + l.Topheight + l.Bottomheight != l.Frameheight,
         "枠サイズ設定（縦）と写真高さ+余白設定の値が合致しません。"},
    };
    for (const auto& check : checks)
        if (check.fails)
            message += check.text;
    // The window's fields hold four characters; a larger value would also
    // make a frame picture of absurd size.
    for (int i = 0; i < kFrameMeasureCount; ++i)
        if (MeasureOf(l, MeasureAt(i)) > kMaxFrameLength) {
            message += "寸法設定が処理可能な最大値を超えています。最大：9999pix";
            break;
        }
    return message;
}

std::string FrameImageName(const std::string& settingsPath)
{
    return ChangeFileExt(ExtractFileName(settingsPath), ".bmp");
}

void WriteFrameSettings(const std::string& path, const TFrameSettings& settings)
{
    TIniFile ini(path);
    // One replace of the whole file: a failure leaves it as it was.
    ini.BeginUpdate();
    ini.WriteString("Frame", "PhotoFile", settings.PhotoFile);
    for (const LayoutKey& entry : kLayoutKeys)
        ini.WriteInteger("Frame", entry.key, MeasureOf(settings.Layout, entry.measure));
    for (TFrameTextKind kind : kFrameTextKinds)
        WriteText(ini, kind, settings.Text(kind));
    ini.WriteInteger("Config", "Bar5", settings.LineSpacing);
    if (settings.ReferencePosition >= 1 && settings.ReferencePosition <= 3)
        ini.WriteInteger("Frame", "ReferencePosition", settings.ReferencePosition);
    ini.EndUpdate();
}
