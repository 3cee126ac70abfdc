// Frame settings window: showing it, beginning a new layout, opening the text
// placement window, and the questions on closing.
#include <utility>

#include "dialogs/preferences_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "platform/application.h"

namespace {

// The line spacing is preference 5.
constexpr int kLineSpacingPreference = 5;

}  // namespace

void TForm3::ShowWithFile(const std::string& path)
{
    fileToShow_ = path;
    Show();
    fileToShow_.clear();
}

void TForm3::FormShow()
{
    CentreOver(*Form1);
    const std::string path = fileToShow_.empty() ? Form1->FrameFilePath : fileToShow_;
    if (!path.empty())
        LoadFrameSettings(path);
    Modified = false;
    OfferApply = false;
    GeometryModified = false;
}

void TForm3::BitBtn2Click()
{
    if (Application->MessageBox("新規作成して宜しいですか？\n入力データが全て初期化されます。", Form1->MessageCaption,
                                MB_YESNO) != IDYES)
        return;
    takeWhenWorkAllows([this] {
        for (MeasureFields& fields : fields_) {
            fields.mm->SetText("");
            fields.pixels->SetText("");
        }
        Form4->ClearFrameTexts();
        Form4->SetLineSpacingPercent(Form2->Preference(kLineSpacingPreference));
        SetTrimmingAlignment(1);
        SettingsFilePath.clear();
        FrameImagePath.clear();
    });
    Modified = false;
    GeometryModified = false;
    OfferApply = true;
}

void TForm3::BitBtn6Click()
{
    // The text placement window edits the texts a run prints: it opens once
    // no photo is in work, so that every edit and drag comes between photos.
    Form1->AfterPhotoWork([this] {
        if (!ValidateFrameSettings())
            return;
        Form4->PrepareFrameView(pixelLayout(), !Edit30->Text().empty(), !Edit31->Text().empty());
        Form4->ShowModal();
    });
}

void TForm3::FormCloseQuery(bool& canClose)
{
    const std::string& caption = Form1->MessageCaption;
    if (Modified) {
        const int answer = Application->MessageBox("設定を保存して閉じますか？", caption, MB_YESNOCANCEL);
        if (answer == IDCANCEL) {
            canClose = false;
            return;
        }
        if (answer != IDYES)
            return;
        // Nothing saved (refused or cancelled): the window stays, as after
        // Cancel, so that the changes are not lost.
        if (!saveAsNew()) {
            canClose = false;
            return;
        }
        Application->MessageBox("設定を反映しますか？", caption, MB_YESNO);
        applyToMainWindow();
        return;
    }
    if (OfferApply) {
        Application->MessageBox("保存した設定を反映しますか？", caption, MB_YESNO);
        applyToMainWindow();
    }
}

void TForm3::applyToMainWindow()
{
    // Whatever the answer. The main window reads no frame settings file: its
    // built-in layout's geometry comes back, while the texts as styled here,
    // the trimming alignment and the line spacing are what it prints with.
    // The window closes at once; a run applies it before its next photo.
    Form1->AfterPhotoWork([] {
        Form2->SetPreference(kLineSpacingPreference, Form4->LineSpacingPercent());
        if (Form1->ApplyFrameGeometry(Form1->PresetIndex) == 0)
            Form1->RefreshLayoutPreview();
    });
}

void TForm3::takeWhenWorkAllows(std::function<void()> take)
{
    Form1->AfterPhotoWork([this, take = std::move(take)] {
        const bool modified = Modified;
        const bool geometryModified = GeometryModified;
        take();
        Modified = modified;
        GeometryModified = geometryModified;
    });
}
