// The text placement window. From the start it holds the three texts of the
// frame (title, date, other): each text's edit, its font holder (an invisible
// edit used only for its font), its angle edit and the vertical-writing flags.
#pragma once

#include "platform/form.h"
#include "platform/range_controls.h"
#include "platform/standard_controls.h"

class TForm4 : public TForm {
public:
    explicit TForm4(TWinControl* owner);

    TEdit* Edit4;   // title text
    TEdit* Edit9;   // date text
    TEdit* Edit7;   // other text
    TEdit* Edit22;  // title font holder
    TEdit* Edit10;  // date font holder
    TEdit* Edit12;  // other font holder
    TEdit* Edit2;   // title angle
    TEdit* Edit3;   // date angle
    TEdit* Edit8;   // other angle
    TCheckBox* CheckBox4;  // title vertical writing
    TCheckBox* CheckBox5;  // date and other vertical writing
    TEdit* Edit5;   // default title font
    TEdit* Edit6;   // default date font
    TEdit* Edit13;  // default other font
    TTrackBar* TrackBar5;  // line spacing of the editor preview, percent
};

extern TForm4* Form4;
