// The multi-line text input: one text shown as lines in a memo.
#pragma once

#include "platform/form.h"
#include "platform/standard_controls.h"

class TForm5 : public TForm {
public:
    explicit TForm5(TWinControl* owner);
    TMemo* Memo1;
};

extern TForm5* Form5;
