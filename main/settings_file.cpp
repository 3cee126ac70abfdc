// The settings file "vad.ini" beside the executable: the seven preference
// bars, the main window's bounds and the output folder prefix.
#include <algorithm>

#include "dialogs/preferences_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "main/window_placement.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"

namespace {

const char* const kSection = "Config";

struct BarKey {
    const char* key;
    int def;
    int min;
    int max;
};

// Bar7 reads back up to 4, so a stored "無し" (no smoothing) survives.
constexpr BarKey kBars[7] = {{"Bar1", 1, 1, 10}, {"Bar2", 10, 10, 50}, {"Bar3", 1, 1, 10}, {"Bar4", 90, 1, 100},
                             {"Bar5", 10, 0, 100}, {"Bar6", 0, 1, 90},  {"Bar7", 0, 0, 4}};

}  // namespace

std::string TForm1::SettingsFilePath() const
{
    return ProgramFolder + "vad.ini";
}

bool TForm1::ReadSettingsFile()
{
    const std::string path = SettingsFilePath();
    if (!FileExists(path))
        return false;
    TIniFile ini(path);
    int values[7] = {};
    for (int i = 0; i < 7; ++i) {
        values[i] = std::clamp(ini.ReadInteger(kSection, kBars[i].key, kBars[i].def), kBars[i].min, kBars[i].max);
        Form2->SetPreference(i + 1, values[i]);
        if (i == 4)
            LineSpacing = static_cast<float>(1 + values[i] * 0.01);
    }
    const int transparency = values[5];
    const int alpha = StartupAlpha(transparency);
    for (TForm* form : TransparentForms())
        form->SetAlphaBlendValue(alpha);
    InactiveTransparency = transparency;

    const StoredPlacement stored{ini.ReadInteger(kSection, "WindowPosX", -999),
                                 ini.ReadInteger(kSection, "WindowPosY", -999),
                                 ini.ReadInteger(kSection, "WindowWidth", 946),
                                 ini.ReadInteger(kSection, "WindowHeight", 745)};
    const WindowBounds bounds = PlaceWindow(stored, Width(), Height(), Screen->Width(), Screen->Height());
    placeWindow(bounds.left, bounds.top, bounds.width, bounds.height);
    PreSaveFolderName = ini.ReadString(kSection, "PreSaveFolderName", kDefaultSaveFolderPrefix);
    // The prefix starts the name of a folder beside the photo folder; one
    // that leads elsewhere would put the outputs anywhere.
    for (const char* escape : {"/", "\\", ":", ".."})
        if (PreSaveFolderName.find(escape) != std::string::npos)
            PreSaveFolderName = kDefaultSaveFolderPrefix;
    return true;
}

void TForm1::WriteSettingsFile()
{
    TIniFile ini(SettingsFilePath());
    ini.BeginUpdate();
    for (int i = 0; i < 7; ++i)
        ini.WriteInteger(kSection, kBars[i].key, Form2->Preference(i + 1));
    ini.WriteInteger(kSection, "WindowPosX", Left());
    ini.WriteInteger(kSection, "WindowPosY", Top());
    ini.WriteInteger(kSection, "WindowWidth", Width());
    ini.WriteInteger(kSection, "WindowHeight", Height());
    ini.WriteString(kSection, "PreSaveFolderName", PreSaveFolderName);
    ini.EndUpdate();
}
