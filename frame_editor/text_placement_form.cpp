// Text placement window: the controls that hold the three texts.
#include "frame_editor/text_placement_form.h"

#include "platform/control_builders.h"
#include "platform/text_format.h"

TForm4* Form4 = nullptr;

namespace {

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

}  // namespace

TForm4::TForm4(TWinControl* owner) : TForm(owner)
{
    SetCaption("文字列配置");
    SetBounds(0, 0, 811, 720);
    Edit4 = NewEdit(this, 100, 8, 300, "[タイトル文字列]");
    Edit9 = NewEdit(this, 100, 36, 300, "");
    Edit7 = NewEdit(this, 100, 64, 300, "");
    Edit2 = NewEdit(this, 560, 8, 50, "0");
    Edit3 = NewEdit(this, 560, 36, 50, "0");
    Edit8 = NewEdit(this, 560, 64, 50, "0");
    Edit22 = MakeFontHolder(this, -107);
    Edit10 = MakeFontHolder(this, -48);
    Edit12 = MakeFontHolder(this, -48);
    Edit5 = MakeFontHolder(this, -64);
    Edit6 = MakeFontHolder(this, -48);
    Edit13 = MakeFontHolder(this, -48);
    CheckBox4 = new TCheckBox(this);
    CheckBox4->SetCaption("縦書き");
    CheckBox4->SetVisible(false);
    CheckBox5 = new TCheckBox(this);
    CheckBox5->SetCaption("縦書き");
    CheckBox5->SetVisible(false);
    TrackBar5 = new TTrackBar(this);
    TrackBar5->SetBounds(100, 96, 200, 32);
    TrackBar5->SetRange(0, 100);
    TrackBar5->SetPosition(10);
    Created();
}

TForm4::TextControls TForm4::controlsOf(TFrameTextKind kind) const
{
    switch (kind) {
    case TFrameTextKind::Date:
        return {Edit9, Edit10, Edit3, CheckBox5};
    case TFrameTextKind::Other:
        return {Edit7, Edit12, Edit8, CheckBox5};
    case TFrameTextKind::Title:
        break;
    }
    return {Edit4, Edit22, Edit2, CheckBox4};
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
