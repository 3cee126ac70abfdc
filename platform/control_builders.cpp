// Control creation helpers for the form layouts.
#include "platform/control_builders.h"

TLabel* NewLabel(TWinControl* parent, int left, int top, int width, const char* caption)
{
    auto* label = new TLabel(parent);
    label->SetBounds(left, top, width, 18);
    label->SetCaption(caption);
    return label;
}

TEdit* NewEdit(TWinControl* parent, int left, int top, int width, const char* text, bool readOnly)
{
    auto* edit = new TEdit(parent);
    edit->SetBounds(left, top, width, 22);
    edit->SetText(text);
    edit->SetReadOnly(readOnly);
    return edit;
}

TButton* NewButton(TWinControl* parent, int left, int top, int width, const char* caption)
{
    auto* button = new TButton(parent);
    button->SetBounds(left, top, width, 28);
    button->SetCaption(caption);
    return button;
}

TCheckBox* NewCheckBox(TWinControl* parent, int left, int top, int width, const char* caption, bool checked)
{
    auto* box = new TCheckBox(parent);
    box->SetBounds(left, top, width, 20);
    box->SetCaption(caption);
    box->SetChecked(checked);
    return box;
}

TTrackBar* NewTrackBar(TWinControl* parent, int left, int top, int width, int min, int max, int position,
                       int page, int frequency)
{
    auto* bar = new TTrackBar(parent);
    bar->SetBounds(left, top, width, 30);
    // Page and ticks first: setting the range shows them, also when the
    // position then stays where it is.
    bar->PageSize = page;
    bar->Frequency = frequency;
    bar->SetRange(min, max);
    bar->SetPosition(position);
    return bar;
}
