// Frame settings window: its controls, their handlers' binding, the answers
// it gives other windows, and the handlers that touch only its own fields.
#include "frame_editor/frame_settings_form.h"

#include "dialogs/preferences_form.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/control_builders.h"
#include "platform/text_format.h"

TForm3* Form3 = nullptr;

namespace {

// A field of a measure: four characters of digits, no input method.
TEdit* NewMeasureEdit(TWinControl* parent, int left, int top)
{
    TEdit* edit = NewEdit(parent, left, top, 40, "");
    edit->MaxLength = 4;
    edit->SetImeMode(TImeMode::imDisable);
    return edit;
}

struct MeasureRow {
    TFrameMeasure measure;
    const char* caption;
    int left, top;
    // The caption stands left of the fields this wide, or above them when 0.
    int captionWidth;
    bool inPhotoArea;  // in the group that stands for the photo area
};

// The window draws the measures as a sketch of the frame: the frame size at
// the top, the top margin under it, the photo area in the middle holding its
// size and the text places, the side margins beside it, the bottom one below.
constexpr MeasureRow kMeasureRows[kFrameMeasureCount] = {
    {TFrameMeasure::FrameWidth, "フレーム幅", 16, 48, 76, false},
    {TFrameMeasure::FrameHeight, "フレーム高", 312, 48, 76, false},
    {TFrameMeasure::RightMargin, "右フチ", 462, 250, 0, false},
    {TFrameMeasure::BottomMargin, "下フチ", 212, 432, 60, false},
    {TFrameMeasure::LeftMargin, "左フチ", 8, 250, 0, false},
    {TFrameMeasure::PhotoWidth, "内枠横", 10, 22, 104, true},
    {TFrameMeasure::PhotoHeight, "内枠縦", 10, 50, 104, true},
    {TFrameMeasure::TopMargin, "上フチ", 212, 84, 60, false},
    {TFrameMeasure::TitleX, "タイトル横位置", 10, 86, 104, true},
    {TFrameMeasure::TitleY, "タイトル縦位置", 10, 114, 104, true},
    {TFrameMeasure::DateX, "日付横位置", 10, 142, 104, true},
    {TFrameMeasure::DateY, "日付縦位置", 10, 170, 104, true},
    {TFrameMeasure::OtherX, "その他横位置", 10, 198, 104, true},
    {TFrameMeasure::OtherY, "その他縦位置", 10, 226, 104, true},
};

}  // namespace

TForm3::TForm3(TWinControl* owner) : TForm(owner)
{
    SetCaption("フレーム設定");
    SetDialogBorder(true);
    SetClientSize(611, 640);
    buildControls();
    bindHandlers();
    Created();
}

void TForm3::buildControls()
{
    Label29 = NewLabel(this, 16, 16, 40, "解像度");
    Edit17 = NewEdit(this, 60, 12, 40, "300", true);
    Label30 = NewLabel(this, 104, 16, 30, "dpi");
    Label33 = NewLabel(this, 160, 16, 300, "(注意）計算まるめ誤差があります。");

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetBounds(156, 120, 300, 300);
    buildMeasureFields();
    BitBtn6 = NewButton(GroupBox1, 10, 258, 120, "文字列設定");

    GroupBox2 = new TGroupBox(this);
    GroupBox2->SetCaption("画像トリミング設定");
    GroupBox2->SetBounds(16, 470, 200, 96);
    RadioButton1 = new TRadioButton(GroupBox2);
    RadioButton1->SetBounds(12, 20, 160, 20);
    RadioButton1->SetCaption("上合わせ");
    RadioButton2 = new TRadioButton(GroupBox2);
    RadioButton2->SetBounds(12, 44, 160, 20);
    RadioButton2->SetCaption("中央合わせ");
    RadioButton3 = new TRadioButton(GroupBox2);
    RadioButton3->SetBounds(12, 68, 160, 20);
    RadioButton3->SetCaption("下合わせ");
    RadioButton1->SetChecked(true);

    CheckBox1 = NewCheckBox(this, 236, 478, 200, "枠画像を上書きしない", false);
    BitBtn4 = NewButton(this, 236, 510, 180, "ｍｍからｐｉｘ へ計算");
    BitBtn5 = NewButton(this, 424, 510, 180, "ｐｉｘからｍｍ へ計算");
    BitBtn5->SetVisible(false);

    BitBtn2 = NewButton(this, 16, 590, 86, "新規作成");
    BitBtn3 = NewButton(this, 106, 590, 86, "読み込み");
    BitBtn1 = NewButton(this, 196, 590, 86, "上書き保存");
    BitBtn10 = NewButton(this, 286, 590, 86, "新規保存");
    BitBtn7 = NewButton(this, 376, 590, 100, "その他の設定");
    BitBtn11 = NewButton(this, 505, 574, 90, "閉じる");
    BitBtn11->SetHeight(50);
    BitBtn11->ModalResult = static_cast<int>(TModalResult::mrOk);

    // The two font samples sit beyond the client area: nothing reads them.
    Button5 = NewButton(this, 640, 16, 90, "フォント選択");
    Edit22 = NewEdit(this, 640, 48, 90, "あいAB", true);
    Edit22->SetEnabled(false);
    Button1 = NewButton(this, 640, 80, 90, "フォント選択");
    Edit18 = NewEdit(this, 640, 112, 90, "あいAB", true);
    Edit18->SetEnabled(false);
}

void TForm3::buildMeasureFields()
{
    for (const MeasureRow& row : kMeasureRows) {
        TWinControl* parent = row.inPhotoArea ? static_cast<TWinControl*>(GroupBox1) : this;
        int left = row.left;
        int top = row.top;
        if (row.captionWidth > 0) {
            NewLabel(parent, left, top + 4, row.captionWidth, row.caption);
            left += row.captionWidth;
        } else {
            NewLabel(parent, left, top, 140, row.caption);
            top += 20;
        }
        MeasureFields& fields = fieldsOf(row.measure);
        fields.mm = NewMeasureEdit(parent, left, top);
        NewLabel(parent, left + 42, top + 4, 30, "mm (");
        fields.pixels = NewMeasureEdit(parent, left + 72, top);
        NewLabel(parent, left + 114, top + 4, 30, "pix )");
    }
    const auto pair = [this](TFrameMeasure measure, TEdit*& mm, TEdit*& pixels) {
        mm = fieldsOf(measure).mm;
        pixels = fieldsOf(measure).pixels;
    };
    pair(TFrameMeasure::FrameWidth, Edit1, Edit2);
    pair(TFrameMeasure::FrameHeight, Edit3, Edit4);
    pair(TFrameMeasure::TopMargin, Edit15, Edit16);
    pair(TFrameMeasure::BottomMargin, Edit7, Edit8);
    pair(TFrameMeasure::LeftMargin, Edit9, Edit10);
    pair(TFrameMeasure::RightMargin, Edit5, Edit6);
    pair(TFrameMeasure::PhotoWidth, Edit11, Edit12);
    pair(TFrameMeasure::PhotoHeight, Edit13, Edit14);
    pair(TFrameMeasure::TitleX, Edit19, Edit21);
    pair(TFrameMeasure::TitleY, Edit20, Edit23);
    pair(TFrameMeasure::DateX, Edit24, Edit25);
    pair(TFrameMeasure::DateY, Edit27, Edit26);
    pair(TFrameMeasure::OtherX, Edit28, Edit30);
    pair(TFrameMeasure::OtherY, Edit29, Edit31);
}

void TForm3::bindHandlers()
{
    // Handlers are bound after the design values, as the form loader does.
    for (int i = 0; i < kFrameMeasureCount; ++i) {
        const MeasureFields& fields = fieldsOf(MeasureAt(i));
        const bool size = i < kFrameSizeCount;
        for (TEdit* edit : {fields.mm, fields.pixels})
            edit->OnChange = size ? TNotifyEvent([this] { Edit1Change(); }) : TNotifyEvent([this] { Edit21Change(); });
    }
    OnShow = [this] { FormShow(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    BitBtn1->OnClick = [this] { BitBtn1Click(); };
    BitBtn2->OnClick = [this] { BitBtn2Click(); };
    BitBtn3->OnClick = [this] { BitBtn3Click(); };
    BitBtn4->OnClick = [this] { BitBtn4Click(); };
    BitBtn5->OnClick = [this] { BitBtn5Click(); };
    BitBtn6->OnClick = [this] { BitBtn6Click(); };
    BitBtn7->OnClick = [this] { BitBtn7Click(); };
    for (TRadioButton* button : {RadioButton1, RadioButton2, RadioButton3})
        button->OnClick = [this] { Form1->AfterPhotoWork([this] { alignmentInForce_ = CheckedAlignment(); }); };
    BitBtn10->OnClick = [this] { BitBtn10Click(); };
    BitBtn11->OnClick = [this] { BitBtn11Click(); };
    Button1->OnClick = [this] { Button1Click(); };
    Button5->OnClick = [this] { Button5Click(); };
}

int TForm3::CheckedAlignment() const
{
    if (RadioButton1->Checked())
        return 1;
    if (RadioButton2->Checked())
        return 2;
    if (RadioButton3->Checked())
        return 3;
    return 0;
}

void TForm3::SetTrimmingAlignment(int alignment)
{
    TRadioButton* const buttons[] = {RadioButton1, RadioButton2, RadioButton3};
    if (alignment >= 1 && alignment <= 3)
        buttons[alignment - 1]->SetChecked(true);
    alignmentInForce_ = CheckedAlignment();
}

int TForm3::PixelValue(TFrameMeasure measure, int def) const
{
    return StrToIntDef(fieldsOf(measure).pixels->Text(), def);
}

int TForm3::Resolution() const
{
    const int dpi = StrToIntDef(Edit17->Text(), 300);
    return dpi > 0 ? dpi : 300;
}

void TForm3::WriteTextPosition(TFrameTextKind kind, int xMm, int xPixels, int yMm, int yPixels)
{
    const int index = static_cast<int>(kind);
    const MeasureFields& x = fieldsOf(MeasureAt(static_cast<int>(TFrameMeasure::TitleX) + 2 * index));
    const MeasureFields& y = fieldsOf(MeasureAt(static_cast<int>(TFrameMeasure::TitleY) + 2 * index));
    x.mm->SetText(std::to_string(xMm));
    x.pixels->SetText(std::to_string(xPixels));
    y.mm->SetText(std::to_string(yMm));
    y.pixels->SetText(std::to_string(yPixels));
}

TFrameLayout TForm3::pixelLayout() const
{
    TFrameLayout layout;
    for (int i = 0; i < kFrameMeasureCount; ++i)
        MeasureOf(layout, MeasureAt(i)) = StrToIntDef(fieldsOf(MeasureAt(i)).pixels->Text(), 0);
    return layout;
}

TFrameLayout TForm3::millimetreLayout() const
{
    TFrameLayout layout;
    for (int i = 0; i < kFrameMeasureCount; ++i)
        MeasureOf(layout, MeasureAt(i)) = StrToIntDef(fieldsOf(MeasureAt(i)).mm->Text(), 0);
    return layout;
}

void TForm3::MarkGeometryModified()
{
    Modified = true;
    GeometryModified = true;
}

void TForm3::Edit1Change()
{
    MarkGeometryModified();
}

void TForm3::Edit21Change()
{
    Modified = true;
}

void TForm3::BitBtn4Click()
{
    if (Application->MessageBox("ピクセル寸法欄のデータが全て上書きされます。\nｍｍからピクセルへ計算して宜しいですか？",
                                Form1->MessageCaption, MB_YESNO) != IDYES)
        return;
    const TFrameLayout pixels = LayoutToPixels(millimetreLayout(), Resolution());
    for (int i = 0; i < kFrameMeasureCount; ++i)
        fieldsOf(MeasureAt(i)).pixels->SetText(std::to_string(MeasureOf(pixels, MeasureAt(i))));
}

void TForm3::BitBtn5Click()
{
    const TFrameLayout millimetres = LayoutToMillimetres(pixelLayout(), Resolution());
    for (int i = 0; i < kFrameSizeCount; ++i)
        fieldsOf(MeasureAt(i)).mm->SetText(std::to_string(MeasureOf(millimetres, MeasureAt(i))));
}

void TForm3::BitBtn7Click()
{
    // Its bars are read by a run (quality, smoothing, line spacing): it
    // opens once no photo is in work.
    Form1->AfterPhotoWork([] { Form2->ShowModal(); });
}

void TForm3::BitBtn11Click()
{
    // Shown modally, the button's modal result closes the window.
    if (!InModal())
        Close();
}

void TForm3::Button5Click()
{
    FontDialog1.Font = Edit22->Font();
    if (FontDialog1.Execute())
        Edit22->Font().Assign(FontDialog1.Font);
}

void TForm3::Button1Click()
{
    FontDialog1.Font = Edit18->Font();
    if (FontDialog1.Execute())
        Edit18->Font().Assign(FontDialog1.Font);
}
