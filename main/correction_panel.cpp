// The correction panel's handlers: the bars, the step buttons and the edits
// that show and change the offsets, angle, zoom and colour of the current
// photo, the reset, the panel's own switch, and the preferences and
// histogram buttons. Each re-render goes through RefreshPreview.
#include <string>

#include "dialogs/histogram_form.h"
#include "dialogs/preferences_form.h"
#include "main/busy_scope.h"
#include "main/main_form.h"
#include "pipeline/correction_steps.h"
#include "platform/application.h"
#include "platform/text_format.h"

void TForm1::buildStepButtons()
{
    auto button = [this](const char* caption) {
        auto* speed = new TSpeedButton(Panel1);
        speed->SetBounds(0, 0, 24, 24);
        speed->SetCaption(caption);
        speed->SetVisible(false);
        return speed;
    };
    SpeedButton1 = button("↑");
    SpeedButton6 = button("↓");
    SpeedButton4 = button("←");
    SpeedButton5 = button("→");
    SpeedButton7 = button("左");
    SpeedButton2 = button("右");
    SpeedButton3 = button("拡大");
    SpeedButton8 = button("縮小");
    SpeedButton12 = button("明るく");
    SpeedButton13 = button("暗く");
    SpeedButton14 = button("R+");
    SpeedButton15 = button("R-");
    SpeedButton17 = button("G+");
    SpeedButton16 = button("G-");
    SpeedButton19 = button("B+");
    SpeedButton18 = button("B-");
    SpeedButton9 = button("[　移動　]");
    SpeedButton10 = button("[　回転　]");
    SpeedButton11 = button("[　拡大縮小　]");
    for (TSpeedButton* mode : {SpeedButton9, SpeedButton10, SpeedButton11}) {
        mode->GroupIndex = 1;
        mode->AllowAllUp = true;
        mode->SetEnabled(false);
    }
}

void TForm1::bindCorrectionPanel()
{
    TrackBar1->OnChange = [this] { TrackBar1Change(); };
    TrackBar2->OnChange = [this] { TrackBar2Change(); };
    TrackBar3->OnChange = [this] { TrackBar3Change(); };
    TrackBar4->OnChange = [this] { TrackBar4Change(); };
    TrackBar5->OnChange = [this] { TrackBar5Change(); };
    TrackBar6->OnChange = [this] { TrackBar6Change(); };
    TrackBar7->OnChange = [this] { TrackBar7Change(); };
    TrackBar8->OnChange = [this] { TrackBar8Change(); };
    TrackBar9->OnChange = [this] { TrackBar9Change(); };
    CheckBox6->OnClick = [this] { CheckBox6Click(); };
    SpeedButton1->OnClick = [this] { SpeedButton1Click(); };
    SpeedButton6->OnClick = [this] { SpeedButton6Click(); };
    SpeedButton4->OnClick = [this] { SpeedButton4Click(); };
    SpeedButton5->OnClick = [this] { SpeedButton5Click(); };
    SpeedButton7->OnClick = [this] { SpeedButton7Click(); };
    SpeedButton2->OnClick = [this] { SpeedButton2Click(); };
    SpeedButton3->OnClick = [this] { SpeedButton3Click(); };
    SpeedButton8->OnClick = [this] { SpeedButton8Click(); };
    SpeedButton12->OnClick = [this] { SpeedButton12Click(); };
    SpeedButton13->OnClick = [this] { SpeedButton13Click(); };
    SpeedButton14->OnClick = [this] { SpeedButton14Click(); };
    SpeedButton15->OnClick = [this] { SpeedButton15Click(); };
    SpeedButton16->OnClick = [this] { SpeedButton16Click(); };
    SpeedButton17->OnClick = [this] { SpeedButton17Click(); };
    SpeedButton18->OnClick = [this] { SpeedButton18Click(); };
    SpeedButton19->OnClick = [this] { SpeedButton19Click(); };
    Edit5->OnExit = [this] { Edit5Exit(); };
    Edit6->OnChange = [this] { Edit6Change(); };
    Edit7->OnChange = [this] { Edit7Change(); };
    Edit8->OnChange = [this] { Edit8Change(); };
    BitBtn2->OnClick = [this] { BitBtn2Click(); };
    CheckBox7->OnClick = [this] { CheckBox7Click(); };
    BitBtn16->OnClick = [this] { BitBtn16Click(); };
    Button1->OnClick = [this] { Button1Click(); };
}

// --- Step operations -------------------------------------------------------

void TForm1::StepZoom(int n)
{
    PhotoZoom = SteppedZoom(PhotoZoom, n, Form2->ZoomStepSetting());
    Edit8->SetText(ZoomText(PhotoZoom));
}

void TForm1::StepRotation(int n)
{
    PhotoAngle = SteppedAngle(PhotoAngle, n);
    Edit7->SetText(FloatToStrGeneral(PhotoAngle));
}

float TForm1::zoomFromEdit8()
{
    float zoom = 1.0f;
    if (ParseZoomText(Edit8->Text(), zoom))
        return zoom;
    Edit8->SetText("1");
    return 1.0f;
}

// --- Bars ------------------------------------------------------------------

void TForm1::passBarChange(const std::function<void()>& write)
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return;
    write();
    RefreshPreview();
}

void TForm1::TrackBar1Change()
{
    passBarChange([this] {
        PhotoZoom = ZoomFromBar(TrackBar1->Position());
        Edit8->SetText(ZoomText(PhotoZoom));
    });
}

void TForm1::TrackBar2Change()
{
    passBarChange([this] {
        PhotoOffsetX = OffsetFromBar(TrackBar2->Position(), zoomFromEdit8());
        Edit5->SetText(std::to_string(PhotoOffsetX));
    });
}

void TForm1::TrackBar3Change()
{
    passBarChange([this] {
        PhotoOffsetY = OffsetFromBar(TrackBar3->Position(), zoomFromEdit8());
        Edit6->SetText(std::to_string(PhotoOffsetY));
    });
}

void TForm1::TrackBar4Change()
{
    passBarChange([this] {
        const AngleBarValue value = AngleFromBar(TrackBar4->Position(), TrackBar4->Max());
        PhotoAngle = value.angle;
        // Edit7's change handler then takes the angle from the cut text.
        Edit7->SetText(value.text);
    });
}

void TForm1::TrackBar5Change()
{
    passBarChange([this] { Edit13->SetText(std::to_string(GainFromBar(TrackBar5->Position(), TrackBar5->Max()))); });
}

void TForm1::TrackBar6Change()
{
    passBarChange([this] { Edit14->SetText(std::to_string(GainFromBar(TrackBar6->Position(), TrackBar6->Max()))); });
}

void TForm1::TrackBar7Change()
{
    passBarChange([this] { Edit15->SetText(std::to_string(GainFromBar(TrackBar7->Position(), TrackBar7->Max()))); });
}

void TForm1::TrackBar8Change()
{
    passBarChange(
        [this] { Edit16->SetText(std::to_string(CentredBarValue(TrackBar8->Position(), TrackBar8->Max()))); });
}

void TForm1::TrackBar9Change()
{
    passBarChange(
        [this] { Edit17->SetText(std::to_string(CentredBarValue(TrackBar9->Position(), TrackBar9->Max()))); });
}

void TForm1::CheckBox6Click()
{
    passBarChange([] {});
}

// --- Step buttons ----------------------------------------------------------

void TForm1::moveByStep(int& offset, TEdit* edit, int direction)
{
    offset = MoveOffset(offset, static_cast<long long>(direction) * MoveStep(zoomFromEdit8()));
    edit->SetText(std::to_string(offset));
    BitBtn4Click();
}

void TForm1::SpeedButton1Click()
{
    moveByStep(PhotoOffsetY, Edit6, +1);
}

void TForm1::SpeedButton6Click()
{
    moveByStep(PhotoOffsetY, Edit6, -1);
}

void TForm1::SpeedButton4Click()
{
    moveByStep(PhotoOffsetX, Edit5, +1);
}

void TForm1::SpeedButton5Click()
{
    moveByStep(PhotoOffsetX, Edit5, -1);
}

void TForm1::SpeedButton7Click()
{
    StepRotation(1);
    BitBtn4Click();
}

void TForm1::SpeedButton2Click()
{
    StepRotation(-1);
    BitBtn4Click();
}

void TForm1::SpeedButton3Click()
{
    StepZoom(1);
    BitBtn4Click();
}

void TForm1::SpeedButton8Click()
{
    StepZoom(-1);
    BitBtn4Click();
}

void TForm1::stepGains(std::initializer_list<TEdit*> edits, bool raise)
{
    for (TEdit* edit : edits) {
        const int gain = StrToIntDef(edit->Text(), 0);
        edit->SetText(std::to_string(raise ? RaisedGain(gain, ColorStep) : LoweredGain(gain, ColorStep)));
    }
    BitBtn4Click();
}

void TForm1::SpeedButton12Click()
{
    stepGains({Edit13, Edit15, Edit14}, true);
}

void TForm1::SpeedButton13Click()
{
    stepGains({Edit13, Edit15, Edit14}, false);
}

void TForm1::SpeedButton14Click()
{
    stepGains({Edit13}, true);
}

void TForm1::SpeedButton15Click()
{
    stepGains({Edit13}, false);
}

void TForm1::SpeedButton17Click()
{
    stepGains({Edit15}, true);
}

void TForm1::SpeedButton16Click()
{
    stepGains({Edit15}, false);
}

void TForm1::SpeedButton19Click()
{
    stepGains({Edit14}, true);
}

void TForm1::SpeedButton18Click()
{
    stepGains({Edit14}, false);
}

// --- Edits -----------------------------------------------------------------

void TForm1::refuseEditText(const char* message)
{
    Application->MessageBox(message, MessageCaption, MB_OK);
}

void TForm1::Edit5Exit()
{
    if (!TryStrToInt(Edit5->Text(), PhotoOffsetX))
        refuseEditText("横移動量が有効な値ではありません。");
}

void TForm1::Edit6Change()
{
    if (!TryStrToInt(Edit6->Text(), PhotoOffsetY))
        refuseEditText("縦移動量が有効な値ではありません。");
}

void TForm1::Edit7Change()
{
    double angle = 0;
    if (TryStrToFloat(Edit7->Text(), angle))
        PhotoAngle = static_cast<float>(angle);
    else
        refuseEditText("回転角が有効な値ではありません。");
}

void TForm1::Edit8Change()
{
    // A zoom of 0 or less, or one that is not finite, is no zoom, and passes
    // silently, as does a number still being typed ("0" and "0." on the way to
    // "0.8", "-", "."): only a text that no typing can make a number is refused.
    if (!ParseZoomText(Edit8->Text(), PhotoZoom) && !IsNumberOrItsBeginning(Edit8->Text()))
        refuseEditText("拡大率が有効な値ではありません。");
}

// --- Commands ----------------------------------------------------------------

void TForm1::BitBtn2Click()
{
    if (Application->MessageBox("補正を初期化して宜しいですか？", MessageCaption, MB_YESNO) != IDYES)
        return;
    BusyScope busy(*this);
    if (!busy.Entered())
        return;
    ResetCorrections();
    RefreshPreview();
}

void TForm1::CheckBox7Click()
{
    Panel1->SetVisible(CheckBox7->Checked());
    FormResize();
}

void TForm1::BitBtn16Click()
{
    Form2->ShowModal();
    BusyScope busy(*this);
    if (busy.Entered() && !Edit1->Text().empty() && !Edit3->Text().empty())
        RefreshPreview();
}

void TForm1::Button1Click()
{
    // Against the main window's right side; what it shows was drawn last.
    Form8->SetBounds(Left() + Width(), Top(), Form8->Width(), Form8->Height());
    Form8->Show();
}
