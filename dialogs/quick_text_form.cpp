// Quick text dialog: layout, the settings it holds and its handlers.
#include "dialogs/quick_text_form.h"

#include <initializer_list>

#include "dialogs/multiline_input_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/control_builders.h"
#include "platform/flag_scope.h"

TForm7* Form7 = nullptr;

namespace {

// The bar position at which the title keeps its layout Y.
constexpr int kTitleAdjustmentCentre = 20;

void AddScaleLabels(TWinControl* parent, int left, int top, int width, std::initializer_list<const char*> captions)
{
    const int step = width / static_cast<int>(captions.size() - 1);
    int x = left;
    for (const char* caption : captions) {
        NewLabel(parent, x - 12, top, 40, caption);
        x += step;
    }
}

}  // namespace

TForm7::TForm7(TWinControl* owner) : TForm(owner)
{
    SetCaption("文字列設定");
    SetDialogBorder(false);
    SetClientSize(540, 253);
    buildControls();
    OnShow = [this] { FormShow(); };
    Edit4->OnChange = [this] { Edit4Change(); };
    ComboBox1->OnChange = [this] { ComboBox1Change(); };
    TrackBar1->OnChange = [this] { TrackBar1Change(); };
    TrackBar2->OnChange = [this] { TrackBar2Change(); };
    TrackBar3->OnChange = [this] { TrackBar3Change(); };
    BitBtn4->OnClick = [this] { BitBtn4Click(); };
    BitBtn14->OnClick = [this] { BitBtn14Click(); };
    BitBtn1->OnClick = [this] { BitBtn1Click(); };
    BitBtn2->OnClick = [this] { BitBtn2Click(); };
    BitBtn3->OnClick = [this] { BitBtn3Click(); };
    Created();
}

void TForm7::buildControls()
{
    const char* const lineHint = "\\nで改行します";
    Label3 = NewLabel(this, 12, 14, 96, "タイトル文字列");
    Edit4 = NewEdit(this, 110, 10, 300, "[タイトル文字列]");
    Edit4->MaxLength = 86;
    BitBtn1 = NewButton(this, 416, 7, 90, "複数行入力");
    Label12 = NewLabel(this, 12, 42, 96, "日付文字列");
    Edit9 = NewEdit(this, 110, 38, 300, "");
    Edit9->MaxLength = 48;
    BitBtn2 = NewButton(this, 416, 35, 90, "複数行入力");
    Label9 = NewLabel(this, 12, 70, 96, "その他文字列");
    Edit7 = NewEdit(this, 110, 66, 300, "");
    BitBtn3 = NewButton(this, 416, 63, 90, "複数行入力");
    for (TEdit* edit : {Edit4, Edit9, Edit7}) {
        edit->SetHint(lineHint);
        edit->SetShowHint(true);
    }
    for (TControl* hidden : std::initializer_list<TControl*>{Label12, Edit9, BitBtn2, Label9, Edit7, BitBtn3})
        hidden->SetVisible(false);

    Label1 = NewLabel(this, 12, 48, 96, "フォント名");
    ComboBox1 = new TComboBox(this, true);
    ComboBox1->SetBounds(110, 44, 240, 24);
    ComboBox1->Sorted = true;
    ComboBox1->SetText(kDefaultFaceName);

    Label10 = NewLabel(this, 12, 88, 96, "フォントサイズ");
    TrackBar1 = NewTrackBar(this, 110, 80, 300, 20, 50, 30, 5, 5);
    AddScaleLabels(this, 122, 110, 276, {"20pt", "30pt", "40pt", "50pt"});
    Label14 = NewLabel(this, 12, 142, 96, "フォント横倍率");
    TrackBar3 = NewTrackBar(this, 110, 134, 300, 50, 150, 100, 5, 10);
    AddScaleLabels(this, 122, 164, 276, {"50%", "100%", "150%"});

    Label2 = NewLabel(this, 440, 44, 90, "垂直位置調整");
    TrackBar2 = NewTrackBar(this, 464, 64, 30, 0, 40, 20, 5, 10);
    TrackBar2->SetOrientation(TTrackBarOrientation::trVertical);
    TrackBar2->SetBounds(464, 64, 30, 120);

    CheckBox1 = NewCheckBox(this, 12, 214, 110, "プレビュー", false);
    BitBtn4 = NewButton(this, 290, 210, 120, "プレビュー更新");
    BitBtn14 = NewButton(this, 420, 196, 110, "閉じる");
    BitBtn14->SetHeight(46);
}

int TForm7::TitleAdjustment() const
{
    return TrackBar2->Position() - kTitleAdjustmentCentre;
}

void TForm7::CentreTitleAdjustment()
{
    TrackBar2->SetPosition(TrackBar2->Max() / 2);
}

int TForm7::HorizontalScale() const
{
    return TrackBar3->Position();
}

void TForm7::MirrorTexts(const std::string& title, const std::string& date, const std::string& other)
{
    Edit4->SetText(title);
    Edit9->SetText(date);
    Edit7->SetText(other);
}

void TForm7::FormShow()
{
    FlagScope filling(updating_);
    if (const TForm* main = Application->MainForm())
        CentreOver(*main);
    ComboBox1->SetItems(Screen->Fonts());
    const TFont& titleFont = Form4->TextFont(TFrameTextKind::Title);
    ComboBox1->SetText(titleFont.Name());
    // A size beyond the bar shows at its nearer end; the font keeps it.
    TrackBar1->SetPosition(titleFont.Size());
}

void TForm7::applyChange(const std::function<void()>& ownStep)
{
    if (updating_)
        return;
    FlagScope running(updating_);
    if (ownStep)
        ownStep();
    if (CheckBox1->Checked())
        BitBtn4Click();
}

void TForm7::Edit4Change()
{
    applyChange({});
}

void TForm7::ComboBox1Change()
{
    applyChange([this] { Form4->TextFont(TFrameTextKind::Title).SetName(ComboBox1->Text()); });
}

void TForm7::TrackBar1Change()
{
    applyChange([this] { Form4->TextFont(TFrameTextKind::Title).SetSize(TrackBar1->Position()); });
}

void TForm7::TrackBar2Change()
{
    applyChange({});
}

void TForm7::TrackBar3Change()
{
    applyChange({});
}

void TForm7::BitBtn4Click()
{
    Form4->SetFrameText(TFrameTextKind::Title, Edit4->Text());
    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    Form1->DrawTextPreview(*Form1->TextImage(TFrameTextKind::Title), title.Font, title.Text, title.Angle);
    // Storing the title marks the frame settings changed; the quick text is
    // no change of the frame settings file.
    Form3->Modified = false;
    Form1->RefreshLayoutPreview();
}

void TForm7::BitBtn14Click()
{
    BitBtn4->Click();
    Close();
}

void TForm7::BitBtn1Click()
{
    Edit4->SetText(Form5->EditLines(Edit4->Text(), Form4->TextFont(TFrameTextKind::Title).Name()));
}

void TForm7::BitBtn2Click()
{
    Edit9->SetText(Form5->EditLines(Edit9->Text(), Form4->TextFont(TFrameTextKind::Date).Name()));
}

void TForm7::BitBtn3Click()
{
    Edit7->SetText(Form5->EditLines(Edit7->Text(), Form4->TextFont(TFrameTextKind::Other).Name()));
}
