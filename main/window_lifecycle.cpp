// The main window's creation, first show, sizing, activation, closing and the
// reset routines.
#include <algorithm>
#include <initializer_list>
#include <new>

#include "controls/resize_control.h"
#include "dialogs/histogram_form.h"
#include "dialogs/multiline_input_form.h"
#include "dialogs/preferences_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/application_forms.h"
#include "main/busy_scope.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/file_system.h"

namespace {

constexpr int kMinWidth = 946;
constexpr int kMinHeight = 745;

}  // namespace

void TForm1::FormCreate()
{
    DragAcceptFiles(true);
    Initialising = true;
    SetCaption("Plovis");
    Label1->SetCaption("写真ファイル");
    ProgressBar1->SetVisible(false);
    MessageCaption = Caption();
    try {
        for (TBitmap** bitmap : {&PhotoBitmap, &TextBitmap, &OutputBitmap, &ScratchBitmap, &FrameOverlay,
                                 &PreviewOverlay, &SourceBitmap, &PreviewSourceBitmap}) {
            *bitmap = new TBitmap;
            (*bitmap)->SetSize(10, 10);
            // New storage is not cleared; a fresh work bitmap is black.
            (*bitmap)->Fill(clBlack);
        }
    } catch (const std::bad_alloc&) {
        Application->MessageBox("作業用のメモリが足りません。メモリを増設して下さい。", "vizodaruv", MB_OK);
        WorkBitmapsFailed = true;
        return;
    }
    Image1->SetBounds(0, 0, Image1->Width(), Image1->Height());
    Image2->SetBounds(0, 0, Image2->Width(), Image2->Height());
    FrameLayout.Framewidth = 0;
    FrameLayout.Frameheight = 0;
    PhotoOffsetX = PhotoOffsetY = 0;
    PhotoAngle = 0.0f;
    PhotoZoom = 1.0f;
    Dragging = false;
    DragLast = {0, 0};
    ColorStep = 0;
    ColorStrength = 1.0;
    LineSpacing = 1.1f;
    OverwriteConfirmed = false;
    PresetIndex = 0;
    BackgroundColor = clWhite;
    Busy = false;
    CachedPhotoPath.clear();
    ProgramFolder = ExecutableFolder();
}

void TForm1::FormShow()
{
    Initialising = false;
    if (!ReadSettingsFile()) {
        PreSaveFolderName = kDefaultSaveFolderPrefix;
        placeWindow((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
    }
    Repaint();
    pump();
    Image1->SetBounds(0, 0, Image1->Width(), Image1->Height());
    ApplyFrameLayout(0);
    FrameFilePath = ProgramFolder + "Frame/frame001.ini";
    MainResizeControl->SetBackColor(clWhite);
    const TCursor saved = Screen->Cursor();
    Screen->SetCursor(TCursor::crHourGlass);
    RedrawFramePreview();
    Screen->SetCursor(saved);
    Busy = false;
    Invalidate();
}

void TForm1::placeWindow(int left, int top, int width, int height)
{
    SetBounds(left, top, Width(), Height());
    SetBounds(Left(), Top(), width, height);
}

void TForm1::FormCanResize(int& newWidth, int& newHeight, bool& resize)
{
    if (!Form1) {
        resize = true;
        return;
    }
    if (Busy) {
        resize = false;
        return;
    }
    if (Visible()) {
        newWidth = std::max(newWidth, kMinWidth);
        newHeight = std::max(newHeight, kMinHeight);
    }
    if (Initialising) {
        newWidth = kMinWidth;
        newHeight = kMinHeight;
    }
    StatusBar1->SetBounds(0, ClientHeight() - StatusBar1->Height(), ClientWidth(), StatusBar1->Height());
    StatusBar1->Repaint();
    resize = true;
}

void TForm1::FormResize()
{
    if (!Form1 || Width() < kMinWidth || Height() < kMinHeight)
        return;
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    Panel1->SetLeft(cw - Panel1->Width() - 12);
    BitBtn14->SetLeft(cw - 120);
    ScrollBox1->SetWidth(cw - 24 - (CheckBox7->Checked() ? Panel1->Width() : 0));
    ScrollBox1->SetHeight(ch - ScrollBox1->Top() - 65);
    ProgressBar1->SetWidth(cw - 2 * ProgressBar1->Left());
    ProgressBar1->SetTop(ScrollBox1->Top() + ScrollBox1->Height() + 2);
    Image1->SetBounds(0, 0, Image1->Width(), Image1->Height());
    StatusBar1->Repaint();
    Invalidate();
    RelayoutForFrameFile();
    StatusBar1->SetBounds(0, ch - StatusBar1->Height(), cw, StatusBar1->Height());
    StatusBar1->Repaint();
    Repaint();
}

void TForm1::RelayoutForFrameFile()
{
    if (FrameFilePath.empty() || !FileExists(FrameFilePath))
        return;
    BusyScope busy(*this);
    ApplyFrameLayout(PresetIndex);
    RedrawFramePreview();
    redrawPreviewContent();
}

void TForm1::FormCloseQuery(bool& canClose)
{
    if (Busy) {
        AbortRequested = true;
        closeAfterWork_ = true;
        canClose = false;
        return;
    }
    // Unsaved frame settings are asked about before the program ends with
    // them; Cancel there keeps both windows open.
    if (Form3 && Form3->Visible() && Form3->Modified) {
        Form3->Close();
        canClose = !Form3->Visible();
    }
}

void TForm1::CloseIfAsked()
{
    if (!closeAfterWork_)
        return;
    closeAfterWork_ = false;
    Close();
}

void TForm1::FormClose(TCloseAction& action)
{
    try {
        WriteSettingsFile();
    } catch (const std::exception& error) {
        // The window still closes; the operator is told what was not saved.
        Application->ShowException(error);
    }
    action = TCloseAction::caFree;
}

void TForm1::BitBtn14Click()
{
    Close();
}

void TForm1::ApplicationEvents1Activate()
{
    if (InactiveTransparency > 0)
        for (TForm* form : TransparentForms())
            form->SetAlphaBlend(false);
}

void TForm1::ApplicationEvents1Deactivate()
{
    if (InactiveTransparency > 0)
        for (TForm* form : TransparentForms())
            form->SetAlphaBlend(true);
}

void TForm1::ResetWorkState()
{
    for (TImage* image : {Image1, Image2, Image10}) {
        TBitmap& picture = image->Picture();
        picture.SetSize(image->Width(), image->Height());
        picture.Fill(clBlack);
        image->SetTransparent(true);
    }
    Edit1->SetText("");
    SourceBitmap->SetSize(1, 1);
    PreviewSourceBitmap->SetSize(1, 1);
    previewSource_.pending = false;
    CachedPhotoPath.clear();
    PhotoOffsetY = 0;
    PhotoAngle = 0.0f;
    PhotoZoom = 1.0f;
    resetCorrectionBars();
    neutralPosition();
    for (TEdit* edit : {Edit13, Edit14, Edit15, Edit16})
        edit->SetText("0");
    Memo1->Lines().Clear();
    Memo2->Lines().Clear();
    photoListSource_.clear();
    DisableRunButtons();
    ProgressBar1->SetPosition(0);
    OverwriteConfirmed = false;
    overwriteCheck_.BeginRun({});
    listSkips_ = listErrors_ = 0;
    Busy = false;
}

void TForm1::neutralPosition()
{
    PhotoOffsetX = PhotoOffsetY = 0;
    PhotoAngle = 0.0f;
    PhotoZoom = 1.0f;
    Edit5->SetText("0");
    Edit6->SetText("0");
    Edit7->SetText("0");
    Edit8->SetText("1");
}

void TForm1::ResetPositionAndEnableRun()
{
    neutralPosition();
    for (TButton* button : {BitBtn8, BitBtn3, BitBtn11, BitBtn12})
        button->SetEnabled(true);
    if (CheckBox7->Checked())
        Panel1->SetVisible(true);
}

void TForm1::DisableRunButtons()
{
    for (TButton* button : {BitBtn8, BitBtn3, BitBtn11, BitBtn12})
        button->SetEnabled(false);
}

void TForm1::DisableCommandButtons()
{
    setCommandButtonsEnabled(false);
}

void TForm1::EnableCommandButtons()
{
    setCommandButtonsEnabled(true);
}

void TForm1::setCommandButtonsEnabled(bool enabled)
{
    for (TButton* button : {BitBtn3, BitBtn4, BitBtn5, BitBtn6, BitBtn7, BitBtn8, BitBtn11, BitBtn12, BitBtn16})
        button->SetEnabled(enabled);
    // The photo folder and the output folder are read photo by photo, and
    // the corrections and the quality choices in the middle of a photo's
    // work: no typing in them, no ticking, no bar moved while a run works
    // (their texts stay selectable). A change halfway through a photo would
    // print it with half the old settings and half the new.
    for (TEdit* edit : {Edit1, Edit2, Edit5, Edit6, Edit7, Edit8, Edit13, Edit14, Edit15, Edit16, Edit17})
        edit->SetReadOnly(!enabled);
    for (TControl* control : std::initializer_list<TControl*>{CheckBox2, CheckBox3, CheckBox6, CheckBox7, TrackBar1,
                                                              TrackBar2, TrackBar3, TrackBar4, TrackBar5, TrackBar6,
                                                              TrackBar7, TrackBar8, TrackBar9})
        control->SetEnabled(enabled);
    // The change shows before the work starts or after it ends.
    pump();
}
