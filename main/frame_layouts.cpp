// Applying a built-in frame layout, the commands that do it, and the redraw
// of the preview after a layout change.
#include "dialogs/histogram_form.h"
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/busy_scope.h"
#include "main/main_form.h"
#include "pipeline/frame_image.h"
#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/text_format.h"

namespace {

// Every layout starts with 10 % between the lines of a text (the line
// spacing is preference 5).
constexpr int kLineSpacingPreference = 5;
constexpr int kLayoutLineSpacing = 10;

}  // namespace

int TForm1::ApplyFrameLayout(int preset)
{
    Edit3->SetText("");
    const TFrameLayoutPreset values = FramePreset(preset);
    Form3->SetTrimmingAlignment(1);
    Form2->SetPreference(kLineSpacingPreference, kLayoutLineSpacing);
    LineSpacing = static_cast<float>(1 + kLayoutLineSpacing * 0.01);
    Form4->ResetTextFormats(values.titleSize, values.dateSize, values.otherSize);
    return ApplyFrameGeometry(preset);
}

int TForm1::ApplyFrameGeometry(int preset)
{
    Edit3->SetText("");
    const TFrameLayoutPreset values = FramePreset(preset);
    Form7->MirrorTexts(Form4->FrameText(TFrameTextKind::Title).Text, Form4->FrameText(TFrameTextKind::Date).Text,
                       Form4->FrameText(TFrameTextKind::Other).Text);

    FrameLayout = values.layout;
    PreviewLayout = ScaleLayoutToPreview(FrameLayout, ScrollBox1->ClientWidth(), ScrollBox1->ClientHeight());
    for (TImage* image : {Image1, Image2}) {
        image->ClearPicture();
        image->SetBounds(image->Left(), image->Top(), PreviewLayout.Framewidth, PreviewLayout.Frameheight);
    }
    FrameLayout.HasFrameImage = false;
    PreviewLayout.HasFrameImage = false;
    Image1->SetTransparent(true);
    Image1->Picture().Fill(clBlack);
    Image1->SetTransparent(false);

    // The frame image is drawn in the photo in work, which the next
    // preparation of a photo replaces.
    ::DrawFrameImage(*PhotoBitmap, FrameLayout);
    ShowFitted(*PhotoBitmap, 1);

    FrameOverlay->SetSize(PhotoBitmap->Width(), PhotoBitmap->Height());
    FrameOverlay->SetTransparentColor(clBlack);
    FrameOverlay->Canvas()->Draw(0, 0, *PhotoBitmap);

    // Drawn at preview size, not shrunk: a shrunk one would blend white and
    // black at the photo area's edge into a fringe that is not see-through.
    ::DrawFrameImage(*PreviewOverlay, PreviewLayout);

    Edit3->SetText("\\");
    FrameFilePath.clear();
    PresetIndex = preset;
    return 0;
}

void TForm1::drawTextPreviews()
{
    for (TFrameTextKind kind : {TFrameTextKind::Title, TFrameTextKind::Date}) {
        const TFrameText text = Form4->FrameText(kind);
        DrawTextPreview(*TextImage(kind), text.Font, text.Text, text.Angle);
    }
}

void TForm1::redrawPreviewContent()
{
    if (Memo2->Lines().Count() == 0) {
        drawTextPreviews();
        return;
    }
    const std::string current = Memo2->Lines()[PhotoIndex];
    if (current.empty())
        return;
    // Loaded again, so that it is turned and previewed for the layout in force.
    CachedPhotoPath.clear();
    if (LoadPhoto(current) == 0)
        RefreshPreview();
}

void TForm1::RefreshLayoutPreview()
{
    BusyScope busy(*this);
    RedrawFramePreview();
    redrawPreviewContent();
}

void TForm1::ComboBox1Change()
{
    // A layout change in the middle of a run would change it halfway; the
    // box goes back to the layout in use.
    if (Busy) {
        ComboBox1->SetItemIndex(PresetIndex);
        return;
    }
    ApplyFrameLayout(ComboBox1->ItemIndex());
    RefreshLayoutPreview();
}

void TForm1::BitBtn5Click()
{
    if (Application->MessageBox("新規作成して宜しいですか？\n現在の画像フォルダ設定などが初期化されます。",
                                MessageCaption, MB_YESNO) == IDNO) {
        Busy = false;
        return;
    }
    BusyScope busy(*this);
    ResetWorkState();
    ResetCorrections();
    Form8->ClearHistograms();
    Form4->TextFont(TFrameTextKind::Title).SetName(kDefaultFaceName);
    Form7->CentreTitleAdjustment();
    if (ApplyFrameLayout(0) == 0)
        RedrawFramePreview();
}

void TForm1::BitBtn6Click()
{
    BusyScope busy(*this);
    // A cancelled choice leaves the list in work, its photo, corrections
    // and runs as they were.
    const std::vector<std::string> inWork = Memo2->Lines().Lines();
    Memo2->Lines().Clear();
    if (OpenPhotoFile() != 0) {
        Memo2->Lines().Assign(inWork);
        return;
    }
    startNewList();
}
