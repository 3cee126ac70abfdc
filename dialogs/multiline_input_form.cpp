// Multi-line text input: layout and the editing of one text.
#include "dialogs/multiline_input_form.h"

#include "pipeline/multiline_text.h"
#include "platform/application.h"
#include "platform/control_builders.h"
#include "platform/dialogs.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TWinControl* owner) : TForm(owner)
{
    SetCaption("複数文字列入力");
    SetDialogBorder(true);
    SetClientSize(674, 239);
    Memo1 = new TMemo(this);
    Memo1->SetBounds(8, 8, 658, 184);
    Memo1->Font().SetName(kDefaultFaceName);
    Memo1->Font().SetHeight(-16);
    BitBtn1 = NewButton(this, 292, 202, 90, "OK");
    BitBtn1->ModalResult = IDOK;
    Created();
}

std::string TForm5::EditLines(const std::string& text, const std::string& fontName)
{
    Memo1->Lines().Assign(TextToEditLines(text));
    Memo1->Font().SetName(fontName);
    if (const TForm* main = Application->MainForm())
        CentreOver(*main);
    ShowModal();
    return EditLinesToText(Memo1->Lines().Lines());
}
