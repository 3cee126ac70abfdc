// The text placement window. From the start it holds the three texts of the
// frame (title, date, other): each text's edit, its font holder (an invisible
// edit used only for its font), its angle edit and the vertical-writing flags.
#pragma once

#include <string>

#include "pipeline/frame_text.h"
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

    // The text of that kind with its font, its angle (0 when the angle edit
    // holds no integer) and its vertical-writing flag.
    TFrameText FrameText(TFrameTextKind kind) const;
    // Stores the text of that kind, as the operator's edit would.
    void SetFrameText(TFrameTextKind kind, const std::string& text);
    // The font of that kind's holder, for the writers of the texts' fonts.
    TFont& TextFont(TFrameTextKind kind);
    // What applying a built-in layout resets: every font black in the
    // Japanese character set at these sizes (points), the date's and other's
    // also in the default face without style; angles 0, flags off. The texts
    // and the title's face and style stay.
    void ResetTextFormats(int titleSize, int dateSize, int otherSize);

private:
    struct TextControls {
        TEdit* text;
        TEdit* fontHolder;
        TEdit* angle;
        TCheckBox* vertical;
    };
    // The controls that hold one text; the date and the other text share
    // one vertical-writing box.
    TextControls controlsOf(TFrameTextKind kind) const;
};

extern TForm4* Form4;
