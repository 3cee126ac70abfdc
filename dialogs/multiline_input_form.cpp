// Multi-line text input: layout.
#include "dialogs/multiline_input_form.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TWinControl* owner) : TForm(owner)
{
    SetCaption("複数文字列入力");
    SetBounds(0, 0, 420, 300);
    Memo1 = new TMemo(this);
    Memo1->SetBounds(8, 8, 404, 240);
    Created();
}
