// Frame settings window: loading a frame settings file into the windows, and
// the two saves with the frame image that goes with them.
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/file_path.h"
#include "platform/file_system.h"
#include "platform/text_format.h"

std::string TForm3::SelectFrameFile()
{
    OpenDialog1.Options = ofHideReadOnly | ofPathMustExist | ofFileMustExist | ofEnableSizing;
    OpenDialog1.Title = "フレーム設定ファイルの読み込み";
    OpenDialog1.InitialDir = frameFileFolder();
    OpenDialog1.Filter = "フレーム設定ファイル (*.ini)|*.ini";
    OpenDialog1.FilterIndex = 1;
    for (;;) {
        if (!OpenDialog1.Execute())
            return {};
        if (OpenDialog1.Files.size() == 1 && ExtractFileExt(OpenDialog1.FileName) == ".ini")
            return OpenDialog1.FileName;
    }
}

void TForm3::BitBtn3Click()
{
    const std::string path = SelectFrameFile();
    // A refused file leaves the flags too: the edits it did not replace are
    // still unsaved, and the frame image still to be drawn again.
    if (path.empty() || !LoadFrameSettings(path))
        return;
    Modified = false;
    GeometryModified = false;
    OfferApply = true;
}

bool TForm3::LoadFrameSettings(const std::string& path)
{
    if (path.empty() || !FileExists(path))
        return false;
    // Read and checked whole before anything takes a value, so that a file
    // that is refused leaves the windows as they were.
    const TFrameSettings settings = ReadFrameSettings(path);
    const std::string message = CheckFrameSettings(settings, path);
    if (!message.empty()) {
        Application->MessageBox(message, "", MB_OK);
        return false;
    }
    takeWhenWorkAllows([this, settings, path] { takeSettings(settings, path); });
    return true;
}

void TForm3::takeSettings(const TFrameSettings& settings, const std::string& path)
{
    const int dpi = Resolution();
    SettingsFilePath = path;
    // The geometry first, so that the title redrawn as its text arrives is
    // drawn and placed for this frame.
    for (int i = 0; i < kFrameMeasureCount; ++i) {
        const int value = MeasureOf(settings.Layout, MeasureAt(i));
        fieldsOf(MeasureAt(i)).pixels->SetText(std::to_string(value));
        fieldsOf(MeasureAt(i)).mm->SetText(std::to_string(PixelsToMillimetres(value, dpi)));
    }
    SetTrimmingAlignment(settings.ReferencePosition);
    for (TFrameTextKind kind : kFrameTextKinds)
        Form4->StoreFrameText(kind, settings.Text(kind));
    Form4->SetLineSpacingPercent(settings.LineSpacing);
    Form7->MirrorTexts(settings.Text(TFrameTextKind::Title).Text, settings.Text(TFrameTextKind::Date).Text,
                       settings.Text(TFrameTextKind::Other).Text);
    Form1->RefreshLayoutPreview();
}

TFrameSettings TForm3::settingsToWrite() const
{
    TFrameLayout layout = pixelLayout();
    // Empty other-text places are stored as defaults; the fields stay empty,
    // so the next save computes them again.
    if (Edit30->Text().empty())
        layout.OtherPositionX = layout.Framewidth / 4;
    if (Edit31->Text().empty())
        layout.OtherPositionY = layout.FontPositionY;
    return settingsWith(layout, FrameImagePath);
}

TFrameSettings TForm3::settingsWith(const TFrameLayout& layout, const std::string& photoFile) const
{
    TFrameSettings settings;
    settings.PhotoFile = photoFile;
    settings.Layout = layout;
    settings.ReferencePosition = CheckedAlignment();
    for (TFrameTextKind kind : kFrameTextKinds)
        settings.Text(kind) = Form4->FrameText(kind);
    settings.LineSpacing = Form4->LineSpacingPercent();
    return settings;
}

bool TForm3::WriteLayoutFile(const std::string& path, const TFrameLayout& layout)
{
    const std::string imageName = FrameImageName(path);
    const std::string imagePath = ExtractFilePath(path) + imageName;
    if (!ForceDirectories(ExtractFilePath(path)))
        return false;
    try {
        // The image first: the settings name it, and their reader refuses
        // settings whose image is missing.
        if (!FileExists(imagePath))
            Form1->SaveFrameImage(imagePath, layout.Framewidth, layout.Frameheight, layout.Photowidth,
                                  layout.Photoheight, layout.Leftwidth, layout.Topheight);
        WriteFrameSettings(path, settingsWith(layout, imageName));
    } catch (const Exception&) {
        return false;
    }
    return true;
}

std::string TForm3::frameFileFolder() const
{
    const std::string folder = ExtractFilePath(SettingsFilePath);
    return !folder.empty() && DirectoryExists(folder) ? folder : Form1->ProgramFolder + "Frame/";
}

bool TForm3::writeSettings(const std::string& path)
{
    FrameImagePath = FrameImageName(path);
    try {
        WriteFrameSettings(path, settingsToWrite());
    } catch (const Exception& error) {
        Application->MessageBox(error.Message(), "", MB_OK);
        return false;
    }
    return true;
}

bool TForm3::writeFrameImage(const std::string& path)
{
    const TFrameLayout l = pixelLayout();
    try {
        Form1->SaveFrameImage(path, l.Framewidth, l.Frameheight, l.Photowidth, l.Photoheight, l.Leftwidth,
                              l.Topheight);
    } catch (const Exception& error) {
        Application->MessageBox(error.Message(), "", MB_OK);
        return false;
    }
    return true;
}

bool TForm3::saveFrameImageBeside(const std::string& settingsPath, bool redraw)
{
    const std::string imagePath = ExtractFilePath(settingsPath) + FrameImagePath;
    // A missing image is always written: the settings just saved name it,
    // and their reader refuses a file whose image does not exist.
    if (FileExists(imagePath) && (!redraw || CheckBox1->Checked()))
        return true;
    return writeFrameImage(imagePath);
}

std::string TForm3::askSavePath()
{
    SaveDialog1.Title = "設定の保存";
    SaveDialog1.InitialDir = frameFileFolder();
    SaveDialog1.FileName.clear();
    SaveDialog1.Filter = "ini files (*.ini)|*.ini|All files (*.*)|*.*";
    SaveDialog1.FilterIndex = 1;
    SaveDialog1.Options = ofOverwritePrompt | ofPathMustExist | ofNoReadOnlyReturn | ofHideReadOnly | ofEnableSizing;
    for (;;) {
        if (!SaveDialog1.Execute())
            return {};
        const std::string chosen = SaveDialog1.FileName;
        // Shown again in the folder of the choice, with the name it had.
        SaveDialog1.InitialDir = ExtractFilePath(chosen);
        if (ExtractFileExt(chosen) != ".ini") {
            SaveDialog1.FileName = ChangeFileExt(ExtractFileName(chosen), ".ini");
            continue;
        }
        SaveDialog1.FileName = ExtractFileName(chosen);
        if (!FileExists(chosen) ||
            Application->MessageBox(Format("%s は既に存在します。\n上書きしますか？", ExtractFileName(chosen).c_str()),
                                    SaveDialog1.Title, MB_YESNO | MB_DEFBUTTON2) == IDYES)
            return chosen;
    }
}

bool TForm3::saveAsNew()
{
    if (!ValidateFrameSettings())
        return false;
    const std::string path = askSavePath();
    if (path.empty() || !writeSettings(path) ||
        !saveFrameImageBeside(path, path != Form1->FrameFilePath || GeometryModified))
        return false;
    SettingsFilePath = path;
    Application->MessageBox("保存しました。", "", MB_OK);
    Modified = false;
    OfferApply = true;
    return true;
}

void TForm3::BitBtn10Click()
{
    saveAsNew();
}

void TForm3::BitBtn1Click()
{
    if (!ValidateFrameSettings())
        return;
    if (SettingsFilePath.empty()) {
        BitBtn10Click();
        return;
    }
    if (!writeSettings(SettingsFilePath) || !saveFrameImageBeside(SettingsFilePath, GeometryModified))
        return;
    Application->MessageBox("上書き保存しました。", "", MB_OK);
    Modified = false;
    OfferApply = true;
}
