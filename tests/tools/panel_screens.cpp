// Opens the program's windows under a window manager for a look at them and
// saves a picture of each, frame included, into OUT_DIR:
//   first_start_panel.png  the main window at a first start (no "vad.ini"),
//                          the correction panel ticked with a real click
//   histogram.png          the histogram window with a photo's histograms
//   quick_text.png         the quick text dialog, opened from the title
//   multiline_input.png    the multi-line input over it
//   modal_after_click.png  the whole screen after a click on the main
//                          window just below the two modal dialogs
//   preferences.png        the preferences dialog
//   frame_settings.png     the frame settings window
//   text_placement.png     the text placement window
// The modal windows show as the program shows them; their answers come from
// a script. The program folder (where "vad.ini" goes) is a fresh temporary
// one. Every wait is bounded; the status is 0 when every window came.
// Usage (under a window manager): panel_screens PHOTO_FOLDER OUT_DIR
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "dialogs/histogram_form.h"
#include "dialogs/multiline_input_form.h"
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

std::string OutDir;
int Status = 0;

void Fail(const std::string& what)
{
    std::fprintf(stderr, "panel_screens: %s\n", what.c_str());
    Status = 3;
}

// The window as the screen shows it, frame included, once it is framed and
// drawn.
void Save(TForm& form, const std::string& name)
{
    if (!WaitUntilFramed(form) || !SettleWithWindowManager(form)) {
        Fail(form.Caption() + " did not appear");
        return;
    }
    form.Widget()->repaint();
    const TRect frame = WindowFrameOnScreen(form);
    const QPixmap shot =
        QGuiApplication::primaryScreen()->grabWindow(0, frame.Left, frame.Top, frame.Width(), frame.Height());
    if (!shot.save(QString::fromStdString(OutDir + "/" + name)))
        Fail("cannot write " + name);
}

void SaveScreen(const std::string& name)
{
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(OutDir + "/" + name)))
        Fail("cannot write " + name);
}

void ClickOn(const TControl& control)
{
    const TPoint at = control.ClientToScreen({control.Width() / 2, control.Height() / 2});
    ClickOnScreen(at.x, at.y);
}

// The quick text dialog and the multi-line input over it; then a click on
// the main window below them, which must leave them on top.
void ModalDialogs(ScriptedDialogDriver& script)
{
    script.Modal([](TForm&) {
        Save(*Form7, "quick_text.png");
        Form7->BitBtn1->Click();
        Form7->BitBtn14->Click();
    });
    script.Modal([](TForm&) {
        Save(*Form5, "multiline_input.png");
        const std::string userTime = WindowProperty(*Form1, "_NET_WM_USER_TIME");
        ClickOnScreen(Form7->Left() + Form7->Width() / 2, Form7->Top() + Form7->Height() + 10);
        if (!WaitUntil([&] { return WindowProperty(*Form1, "_NET_WM_USER_TIME") != userTime; }) ||
            !SettleWithWindowManager(*Form1))
            Fail("the click on the main window was not seen");
        SaveScreen("modal_after_click.png");
        Form5->BitBtn1->Click();
    });
    Form1->Image3->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
    Form1->Image3->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 5, true);
}

void FrameEditor(ScriptedDialogDriver& script)
{
    Form3->Show();
    Save(*Form3, "frame_settings.png");
    FillValidFrameLayout();
    script.Modal([](TForm&) {
        Save(*Form4, "text_placement.png");
        Form4->BitBtn14->Click();
    });
    Form3->BitBtn6->Click();
    Form3->Hide();
}

void Run(const std::string& photos)
{
    auto script = std::make_shared<ScriptedDialogDriver>();
    Application->SetDialogDriver(script);
    Form1->Show();
    if (!WaitUntilFramed(*Form1))
        return Fail("the main window did not appear");
    ClickOn(*Form1->CheckBox7);
    if (!WaitUntil([] { return Form1->Panel1->Visible(); }))
        return Fail("the correction panel did not open");
    Save(*Form1, "first_start_panel.png");

    Form1->WMDropFiles({photos}, true);
    if (!WaitUntil([] { return Form1->Memo2->Lines().Count() > 0 && !Form1->Busy; }))
        return Fail("the photos did not load");
    Form1->TrackBar8->SetPosition(240);
    Form1->TrackBar5->SetPosition(72);
    Form1->Button1->Click();
    Save(*Form8, "histogram.png");
    Form8->Hide();

    ModalDialogs(*script);
    script->Modal([](TForm&) {
        Save(*Form2, "preferences.png");
        Form2->BitBtn11->Click();
    });
    Form1->BitBtn16->Click();
    FrameEditor(*script);
    for (const std::string& failure : script->Failures())
        Fail(failure);
    Application->SetDialogDriver(nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string photos = argv[1];
    OutDir = argv[2];
    char pattern[] = "/tmp/plovis-screens-XXXXXX";
    if (!mkdtemp(pattern))
        return 2;
    const std::string programFolder = pattern;
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    if (!CreateApplicationForms())
        return 1;
    Form1->ProgramFolder = programFolder + "/";
    Run(photos);
    Form1->Close();
    DestroyApplicationForms();
    Application->Shutdown();
    std::filesystem::remove_all(programFolder);
    return Status;
}
