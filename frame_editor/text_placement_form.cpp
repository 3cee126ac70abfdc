// Text placement window: its controls, the binding of their handlers, the
// window's own sizing, and the answers and writes of the text store.
#include "frame_editor/text_placement_form.h"

#include "controls/resize_control.h"
#include "frame_editor/frame_settings_file.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/control_builders.h"
#include "platform/text_format.h"

TForm4* Form4 = nullptr;

namespace {

constexpr int kMinWidth = 811;
constexpr int kMinHeight = 720;
// The scroll box with the frame picture starts below the rows of controls.
constexpr int kPreviewTop = 132;

// An invisible, disabled edit whose font is the font of one text.
TEdit* MakeFontHolder(TWinControl* parent, int height)
{
    auto* holder = new TEdit(parent);
    holder->SetVisible(false);
    holder->SetEnabled(false);
    TFont& font = holder->Font();
    font.SetName(kDefaultFaceName);
    font.SetColor(clBlack);
    font.SetCharset(128);
    font.SetHeight(height);
    return holder;
}

TImage* MakeTextImage(TWinControl* parent, int left, int top)
{
    auto* image = new TImage(parent);
    image->SetBounds(left, top, 641, 41);
    image->SetCursor(TCursor::crSizeAll);
    image->SetHint("クリックしてからドラッグすると移動出来ます");
    image->SetShowHint(true);
    return image;
}

}  // namespace

TForm4::TForm4(TWinControl* owner) : TForm(owner)
{
    SetCaption("文字列設定");
    SetDialogBorder(true);
    SetClientSize(821, 693);
    buildControls();
    buildPreview();
    // Its owner's mouse events stay unbound: this window forwards the text
    // images' own events to it instead.
    ResizeControl = new TResizeControl(this);
    bindHandlers();
    Created();
}

void TForm4::buildTextRow(int top, TLabel*& caption, const char* captionText, TEdit*& text, TButton*& lines,
                          TButton*& font, TLabel*& angleCaption, TEdit*& angle, TLabel*& degrees)
{
    caption = NewLabel(this, 8, top + 4, 90, captionText);
    text = NewEdit(this, 100, top, 300, "");
    text->SetHint("\\nで改行します");
    text->SetShowHint(true);
    lines = NewButton(this, 404, top - 3, 84, "複数行入力");
    font = NewButton(this, 492, top - 3, 64, "フォント");
    angleCaption = NewLabel(this, 564, top + 4, 40, "回転角");
    angle = NewEdit(this, 606, top, 40, "0");
    angle->SetHint("数値入力後にリターンキーで反映されます。");
    angle->SetShowHint(true);
    angle->SetImeMode(TImeMode::imDisable);
    degrees = NewLabel(this, 650, top + 4, 16, "度");
}

void TForm4::buildControls()
{
    buildTextRow(8, Label3, "タイトル文字列", Edit4, BitBtn1, Button5, Label1, Edit2, Label4);
    Edit4->SetText(kDefaultTitleText);
    Label7 = NewLabel(this, 668, 12, 150, "（右回転：マイナス値）");
    buildTextRow(38, Label12, "日付文字列", Edit9, BitBtn2, Button1, Label2, Edit3, Label5);
    Label6 = NewLabel(this, 668, 42, 150, "（左回転：プラス値）");
    buildTextRow(68, Label9, "その他文字列", Edit7, BitBtn3, Button2, Label10, Edit8, Label11);
    TLabel* enterNote = NewLabel(this, 564, 94, 250, "数値入力後にリターンキーで反映されます。");
    enterNote->Font().SetColor(0x008000);
    enterNote->SetVisible(false);

    Edit1 = NewEdit(this, 8, 102, 392, "　下の枠内の文字をクリックしてからドラッグすると移動出来ます", true);
    Edit1->SetEnabled(false);
    Label18 = NewLabel(this, 412, 106, 110, "複数行の行間(％)");
    TrackBar5 = NewTrackBar(this, 520, 98, 170, 0, 100, 10, 5, 10);
    BitBtn14 = NewButton(this, 701, 94, 100, "閉じる");
    BitBtn14->SetHeight(36);

    Edit22 = MakeFontHolder(this, -107);
    Edit10 = MakeFontHolder(this, -48);
    Edit12 = MakeFontHolder(this, -48);
    Edit5 = MakeFontHolder(this, -64);
    Edit6 = MakeFontHolder(this, -48);
    Edit13 = MakeFontHolder(this, -48);
    CheckBox4 = NewCheckBox(this, 0, 0, 60, "縦書き", false);
    CheckBox4->SetVisible(false);
    CheckBox5 = NewCheckBox(this, 0, 0, 60, "縦書き", false);
    CheckBox5->SetVisible(false);
}

void TForm4::buildPreview()
{
    ScrollBox1 = new TScrollBox(this);
    ScrollBox1->SetBounds(8, kPreviewTop, 805, 530);
    Image1 = new TImage(ScrollBox1);
    Image1->SetBounds(0, 0, 780, 500);
    Image2 = new TImage(ScrollBox1);
    Image2->SetBounds(0, 0, 780, 500);
    Image2->SetTransparent(true);
    Image2->SetVisible(false);
    Image3 = MakeTextImage(ScrollBox1, 72, 400);
    Image4 = MakeTextImage(ScrollBox1, 72, 340);
    Image5 = MakeTextImage(ScrollBox1, 72, 280);
    Image5->SetVisible(false);
    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetBounds(0, 671, 821, 22);
    StatusBar1->SetPanelWidths({300, 400, 50});
}

void TForm4::bindHandlers()
{
    // Handlers are bound after the design values, as the form loader does.
    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
    OnCanResize = [this](int& width, int& height, bool& resize) { FormCanResize(width, height, resize); };
    BitBtn14->OnClick = [this] { BitBtn14Click(); };
    Edit4->OnChange = [this] { Edit4Change(); };
    Edit9->OnChange = [this] { Edit9Change(); };
    Edit7->OnChange = [this] { Edit7Change(); };
    Edit2->OnExit = [this] { Edit2Exit(); };
    Edit2->OnKeyUp = [this](unsigned short& key, TShiftState shift) { Edit2KeyUp(key, shift); };
    Edit3->OnExit = [this] { Edit3Exit(); };
    Edit3->OnKeyUp = [this](unsigned short& key, TShiftState shift) { Edit3KeyUp(key, shift); };
    Edit8->OnExit = [this] { Edit8Exit(); };
    Edit8->OnKeyUp = [this](unsigned short& key, TShiftState shift) { Edit8KeyUp(key, shift); };
    CheckBox4->OnClick = [this] { CheckBox4Click(); };
    CheckBox5->OnClick = [this] { CheckBox5Click(); };
    TrackBar5->OnChange = [this] { TrackBar5Change(); };
    Button5->OnClick = [this] { Button5Click(); };
    Button1->OnClick = [this] { Button1Click(); };
    Button2->OnClick = [this] { Button2Click(); };
    BitBtn1->OnClick = [this] { BitBtn1Click(); };
    BitBtn2->OnClick = [this] { BitBtn2Click(); };
    BitBtn3->OnClick = [this] { BitBtn3Click(); };
    Image3->OnClick = [this] { Image3Click(); };
    Image4->OnClick = [this] { Image4Click(); };
    Image5->OnClick = [this] { Image5Click(); };
    Image3->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image3MouseDown(b, s, x, y); };
    Image3->OnMouseMove = [this](TShiftState s, int x, int y) { Image3MouseMove(s, x, y); };
    Image3->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image3MouseUp(b, s, x, y); };
    Image4->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image4MouseDown(b, s, x, y); };
    Image4->OnMouseMove = [this](TShiftState s, int x, int y) { Image4MouseMove(s, x, y); };
    Image4->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image4MouseUp(b, s, x, y); };
    Image5->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image5MouseDown(b, s, x, y); };
    Image5->OnMouseMove = [this](TShiftState s, int x, int y) { Image5MouseMove(s, x, y); };
    Image5->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image5MouseUp(b, s, x, y); };
    OnCreate = [this] { FormCreate(); };
}

void TForm4::FormCreate()
{
    Image1->SetBounds(0, 0, Image1->Width(), Image1->Height());
    Image2->SetBounds(0, 0, Image2->Width(), Image2->Height());
    updating_ = false;
}

void TForm4::sizeFromMainWindow()
{
    int width = Form1->Width() - 134;
    int height = Form1->Height() - 25;
    if (width <= kMinWidth - 1)
        width = kMinWidth;
    if (height < kMinHeight)
        height = kMinHeight;
    SetBounds(Left(), Top(), width, height);
}

void TForm4::FormShow()
{
    Image1->SetBounds(0, 0, Image1->Width(), Image1->Height());
    Image2->SetBounds(0, 0, Image2->Width(), Image2->Height());
    ResizeControl->SetControl(nullptr);
    sizeFromMainWindow();
    Repaint();
    Application->ProcessMessages();
    CentreOver(*Form1);
    Repaint();
}

void TForm4::FormResize()
{
    if (!Form1)
        return;
    BitBtn14->SetLeft(Width() - 120);
    ScrollBox1->SetBounds(ScrollBox1->Left(), ScrollBox1->Top(), Form1->ScrollBox1->Width(),
                          Form1->ScrollBox1->Height());
    Image1->SetBounds(0, 0, Image1->Width(), Image1->Height());
    StatusBar1->SetBounds(0, ClientHeight() - StatusBar1->Height(), ClientWidth(), StatusBar1->Height());
    StatusBar1->Repaint();
    Repaint();
}

void TForm4::FormCanResize(int& newWidth, int& newHeight, bool& resize)
{
    if (Visible()) {
        if (newWidth <= kMinWidth - 1)
            newWidth = kMinWidth;
        if (newHeight < kMinHeight)
            newHeight = kMinHeight;
    }
    resize = true;
}

void TForm4::BitBtn14Click()
{
    Close();
}

TForm4::TextControls TForm4::controlsOf(TFrameTextKind kind) const
{
    switch (kind) {
    case TFrameTextKind::Date:
        return {Edit9, Edit10, Edit3, CheckBox5, Image4};
    case TFrameTextKind::Other:
        return {Edit7, Edit12, Edit8, CheckBox5, Image5};
    case TFrameTextKind::Title:
        break;
    }
    return {Edit4, Edit22, Edit2, CheckBox4, Image3};
}

TFrameText TForm4::FrameText(TFrameTextKind kind) const
{
    const TextControls c = controlsOf(kind);
    TFrameText text;
    text.Text = c.text->Text();
    text.Font = c.fontHolder->Font();
    text.Angle = StrToIntDef(c.angle->Text(), 0);
    text.Vertical = c.vertical->Checked();
    return text;
}

void TForm4::SetFrameText(TFrameTextKind kind, const std::string& text)
{
    controlsOf(kind).text->SetText(text);
}

TFont& TForm4::TextFont(TFrameTextKind kind)
{
    return controlsOf(kind).fontHolder->Font();
}

void TForm4::ResetTextFormats(int titleSize, int dateSize, int otherSize)
{
    const struct {
        TFrameTextKind kind;
        int size;
    } resets[] = {{TFrameTextKind::Title, titleSize}, {TFrameTextKind::Date, dateSize},
                  {TFrameTextKind::Other, otherSize}};
    for (const auto& reset : resets) {
        const TextControls c = controlsOf(reset.kind);
        TFont& font = c.fontHolder->Font();
        if (reset.kind != TFrameTextKind::Title) {
            font.SetStyle(0);
            font.SetName(kDefaultFaceName);
        }
        font.SetColor(clBlack);
        font.SetCharset(128);
        font.SetSize(reset.size);
        c.vertical->SetChecked(false);
        c.angle->SetText("0");
    }
}

void TForm4::StoreFrameText(TFrameTextKind kind, const TFrameText& text)
{
    const TextControls c = controlsOf(kind);
    c.text->SetText(text.Text);
    c.fontHolder->Font().Assign(text.Font);
    c.vertical->SetChecked(text.Vertical);
    c.angle->SetText(std::to_string(text.Angle));
}

void TForm4::ClearFrameTexts()
{
    Edit4->SetText(kDefaultTitleText);
    for (TEdit* edit : {Edit9, Edit7, Edit2, Edit3, Edit8})
        edit->SetText("");
    Edit22->Font().Assign(Edit5->Font());
    Edit10->Font().Assign(Edit6->Font());
    Edit12->Font().Assign(Edit13->Font());
    CheckBox4->SetChecked(false);
    CheckBox5->SetChecked(false);
}
