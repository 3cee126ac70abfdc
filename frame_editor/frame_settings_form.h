// The frame settings window. From the start it holds the trimming alignment
// that the photo fitting reads: at most one of the three buttons is checked.
#pragma once

#include "platform/form.h"
#include "platform/standard_controls.h"

class TForm3 : public TForm {
public:
    explicit TForm3(TWinControl* owner);

    TGroupBox* GroupBox2;
    TRadioButton* RadioButton1;  // top
    TRadioButton* RadioButton2;  // centre
    TRadioButton* RadioButton3;  // bottom

    // The frame settings differ from those last loaded or saved.
    bool Modified = false;

    // 1 top, 2 centre, 3 bottom, 0 none checked: the first checked in order.
    int TrimmingAlignment() const;
    // Checks the button of 1 top, 2 centre or 3 bottom.
    void SetTrimmingAlignment(int alignment);
};

extern TForm3* Form3;
