// The multi-line text input: one stored text shown as lines in a memo, one
// line per line of the text, and joined back when the dialog closes.
#pragma once

#include <string>

#include "platform/form.h"
#include "platform/standard_controls.h"

class TForm5 : public TForm {
public:
    explicit TForm5(TWinControl* owner);
    TMemo* Memo1;
    TButton* BitBtn1;  // OK

    // Shows text line by line in the face fontName, modally, and returns the
    // lines as the memo holds them however the dialog was closed.
    std::string EditLines(const std::string& text, const std::string& fontName);
};

extern TForm5* Form5;
