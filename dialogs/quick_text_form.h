// The quick text dialog ("文字列設定"): the title text, the title font's name
// and size, the title's vertical adjustment and the horizontal scale of all
// texts' fonts, with a live preview on the main window. From the start it
// holds the adjustment, the scale and mirrors of the three texts; the texts
// and fonts themselves live in the text placement window.
#pragma once

#include <functional>
#include <string>

#include "platform/form.h"
#include "platform/range_controls.h"
#include "platform/standard_controls.h"

class TForm7 : public TForm {
public:
    explicit TForm7(TWinControl* owner);

    TLabel* Label3;
    TEdit* Edit4;  // title text mirror
    TButton* BitBtn1;  // multi-line input of the title
    TLabel* Label12;
    TEdit* Edit9;  // date text mirror (not shown)
    TButton* BitBtn2;
    TLabel* Label9;
    TEdit* Edit7;  // other text mirror (not shown)
    TButton* BitBtn3;
    TLabel* Label1;
    TComboBox* ComboBox1;  // title font name
    TLabel* Label10;
    TTrackBar* TrackBar1;  // title font size, points
    TLabel* Label14;
    TTrackBar* TrackBar3;  // horizontal font scale, percent
    TLabel* Label2;
    TTrackBar* TrackBar2;  // title vertical adjustment, centre 20
    TCheckBox* CheckBox1;  // live preview
    TButton* BitBtn4;  // "プレビュー更新"
    TButton* BitBtn14;  // "閉じる"

    // Frame pixels added to the title's Y (the bar's offset from its centre).
    int TitleAdjustment() const;
    // Back to no adjustment.
    void CentreTitleAdjustment();
    // Horizontal scale of all texts' fonts, percent.
    int HorizontalScale() const;
    // Takes copies of the three texts for the dialog's own fields.
    void MirrorTexts(const std::string& title, const std::string& date, const std::string& other);

    void FormShow();
    void Edit4Change();
    void ComboBox1Change();
    void TrackBar1Change();
    void TrackBar2Change();
    void TrackBar3Change();
    void BitBtn4Click();
    void BitBtn14Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

private:
    void buildControls();
    // A change handler's frame: nothing while the dialog fills itself or a
    // change is already running; else the change's own step, then the
    // preview when it is on.
    void applyChange(const std::function<void()>& ownStep);
    bool updating_ = false;
};

extern TForm7* Form7;
