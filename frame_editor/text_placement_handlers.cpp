// Text placement window: the redraw of the title, the sizing of the frame
// picture, and the handlers of the texts (redraw after a change, fonts,
// multi-line input, selecting and dragging a text image, the write-back of
// its place).
#include <algorithm>

#include "controls/resize_control.h"
#include "dialogs/multiline_input_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/flag_scope.h"
#include "platform/text_format.h"

namespace {

// The longest side the frame picture takes on screen.
constexpr int kMaxPictureSide = 1200;
// The title drawn when it is empty, so that it can still be placed.
constexpr char kEmptyTitle[] = "[　　]";
// Between the other text's image and the title's when no place is given.
constexpr int kOtherTextGap = 20;

const char* StatusFormatOf(TFrameTextKind kind)
{
    switch (kind) {
    case TFrameTextKind::Date:
        return "日付　画面(%d, %d) 実寸(%d, %d)";
    case TFrameTextKind::Other:
        return "その他　画面(%d, %d) 実寸(%d, %d)";
    case TFrameTextKind::Title:
        break;
    }
    return "タイトル　画面(%d, %d) 実寸(%d, %d)";
}

}  // namespace

void TForm4::RenderTitlePreview()
{
    const int frameWidth = Form3->PixelValue(TFrameMeasure::FrameWidth, 0);
    const TFrameText title = FrameText(TFrameTextKind::Title);
    Form1->DrawEditorTextPreview(*Image3, title.Font, title.Text.empty() ? kEmptyTitle : title.Text, title.Angle);
    // Without a frame width there is no scale to place it by: it stays.
    if (frameWidth > 0) {
        int x = Form3->PixelValue(TFrameMeasure::TitleX, -1);
        if (x == -1)
            x = frameWidth / 2;
        // The top half the bottom margin above the frame's bottom edge.
        int y = Form3->PixelValue(TFrameMeasure::TitleY, -1);
        if (y == -1)
            y = Form3->PixelValue(TFrameMeasure::FrameHeight, 0) -
                Form3->PixelValue(TFrameMeasure::BottomMargin, 1) * 2 / 4;
        const double picture = Image1->Width();
        Image3->SetBounds(static_cast<int>(x * picture / frameWidth) - Image3->Width() / 2 -
                              ScrollBox1->HorzScrollBar.Position(),
                          static_cast<int>(y * picture / frameWidth) - ScrollBox1->VertScrollBar.Position(),
                          Image3->Width(), Image3->Height());
    }
    for (TImage* image : {Image3, Image4, Image5})
        image->SetTransparent(false);
}

void TForm4::PrepareFrameView(const TFrameLayout& layout, bool otherXGiven, bool otherYGiven)
{
    sizeFromMainWindow();
    Invalidate();
    Update();
    Application->ProcessMessages();
    ScrollBox1->SetBounds(ScrollBox1->Left(), ScrollBox1->Top(), Form1->ScrollBox1->Width(),
                          Form1->ScrollBox1->Height());
    const int fw = layout.Framewidth;
    const int fh = layout.Frameheight;
    if (fw < 1 || fh < 1)
        return;
    const int aw = std::min(ScrollBox1->ClientWidth() - 20, kMaxPictureSide);
    const int ah = std::min(ScrollBox1->ClientHeight() - 20, kMaxPictureSide);
    // The frame's aspect kept, as large as the area allows.
    int width = aw;
    int height = ah;
    if (static_cast<long long>(aw) * fh < static_cast<long long>(ah) * fw)
        height = fh * aw / fw;
    else
        width = fw * ah / fh;
    for (TImage* image : {Image1, Image2}) {
        image->ClearPicture();
        image->SetBounds(image->Left(), image->Top(), width, height);
    }
    Form1->DrawFrameImage(Image1, fw, fh, layout.Photowidth, layout.Photoheight, layout.Leftwidth, layout.Topheight);
    RenderTitlePreview();

    placeAtFrame(*Image3, layout.FontPositionX, layout.FontPositionY, fw);
    placeAtFrame(*Image4, layout.DatePositionX, layout.DatePositionY, fw);
    placeAtFrame(*Image5, layout.OtherPositionX, layout.OtherPositionY, fw);
    // An other text without a place stands left of the title, bottoms level.
    if (!otherXGiven)
        Image5->SetLeft(Image3->Left() - kOtherTextGap - Image5->Width());
    if (!otherYGiven)
        Image5->SetTop(Image3->Top() + Image3->Height() - Image5->Height());
}

void TForm4::placeAtFrame(TImage& image, int x, int y, int frameWidth)
{
    const double scale = static_cast<double>(Image1->Width()) / frameWidth;
    image.SetBounds(static_cast<int>(x * scale) - image.Width() / 2 - ScrollBox1->HorzScrollBar.Position(),
                    static_cast<int>(y * scale) - ScrollBox1->VertScrollBar.Position(), image.Width(),
                    image.Height());
}

void TForm4::redrawAfterChange(TImage* select, bool pumpMessages)
{
    ResizeControl->SetControl(nullptr);
    if (pumpMessages)
        Application->ProcessMessages();
    RenderTitlePreview();
    if (pumpMessages)
        Application->ProcessMessages();
    if (select)
        ResizeControl->SetControl(select);
    Form3->Modified = true;
}

void TForm4::Edit4Change()
{
    redrawAfterChange(Image3, false);
}

void TForm4::Edit9Change()
{
    redrawAfterChange(Image4, false);
}

void TForm4::Edit7Change()
{
    redrawAfterChange(Image5, false);
}

void TForm4::Edit2Exit()
{
    redrawAfterChange(Image3, true);
}

void TForm4::Edit3Exit()
{
    redrawAfterChange(Image4, true);
}

void TForm4::Edit8Exit()
{
    redrawAfterChange(Image5, true);
}

void TForm4::angleKeyUp(unsigned short key, TImage* select)
{
    constexpr unsigned short kEnter = 13;
    if (key == kEnter)
        redrawAfterChange(select, true);
}

void TForm4::Edit2KeyUp(unsigned short& key, TShiftState)
{
    angleKeyUp(key, Image3);
}

void TForm4::Edit3KeyUp(unsigned short& key, TShiftState)
{
    angleKeyUp(key, Image4);
}

void TForm4::Edit8KeyUp(unsigned short& key, TShiftState)
{
    angleKeyUp(key, Image5);
}

void TForm4::CheckBox4Click()
{
    redrawAfterChange(Image3, true);
}

void TForm4::CheckBox5Click()
{
    redrawAfterChange(Image4, true);
}

void TForm4::TrackBar5Change()
{
    if (updating_)
        return;
    const FlagScope updating(updating_);
    redrawAfterChange(nullptr, true);
}

void TForm4::chooseFont(TFrameTextKind kind)
{
    if (updating_)
        return;
    const TextControls c = controlsOf(kind);
    bool changed = false;
    {
        const FlagScope updating(updating_);
        FontDialog1.Font = c.fontHolder->Font();
        // A cancelled dialog, or OK on the font as it was, leaves the
        // settings unchanged: closing must not ask to save them.
        changed = FontDialog1.Execute() && !(FontDialog1.Font.Handle() == c.fontHolder->Font().Handle());
        if (changed) {
            c.fontHolder->Font().Assign(FontDialog1.Font);
            RenderTitlePreview();
        }
        ResizeControl->SetControl(c.image);
    }
    if (changed)
        Form3->Modified = true;
}

void TForm4::Button5Click()
{
    chooseFont(TFrameTextKind::Title);
}

void TForm4::Button1Click()
{
    chooseFont(TFrameTextKind::Date);
}

void TForm4::Button2Click()
{
    chooseFont(TFrameTextKind::Other);
}

void TForm4::selectImage(TImage* image)
{
    ResizeControl->SetXYSize(this, 0, 0, 0, 0, false);
    ResizeControl->SetControl(image);
    // No position hint here: the status bar shows the place.
    ResizeControl->SetShowHint(false);
}

void TForm4::Image3Click()
{
    selectImage(Image3);
}

void TForm4::Image4Click()
{
    selectImage(Image4);
}

void TForm4::Image5Click()
{
    selectImage(Image5);
}

void TForm4::textMouseDown(TImage* image, TMouseButton button, TShiftState shift, int x, int y)
{
    if (ResizeControl->Control() == image)
        ResizeControl->PtMouseDown(ResizeControl, button, shift, x, y);
}

void TForm4::textMouseMove(TFrameTextKind kind, TShiftState shift, int x, int y)
{
    if (ResizeControl->Control() != controlsOf(kind).image)
        return;
    ResizeControl->PtMouseMove(ResizeControl, shift, x, y);
    writePosition(kind, true);
}

void TForm4::textMouseUp(TFrameTextKind kind, TMouseButton button, TShiftState shift, int x, int y)
{
    if (ResizeControl->Control() != controlsOf(kind).image)
        return;
    ResizeControl->PtMouseUp(ResizeControl, button, shift, x, y);
    Application->ProcessMessages();
    writePosition(kind, false);
    Form3->Modified = true;
}

void TForm4::Image3MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    textMouseDown(Image3, button, shift, x, y);
}

void TForm4::Image3MouseMove(TShiftState shift, int x, int y)
{
    textMouseMove(TFrameTextKind::Title, shift, x, y);
}

void TForm4::Image3MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    textMouseUp(TFrameTextKind::Title, button, shift, x, y);
}

void TForm4::Image4MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    textMouseDown(Image4, button, shift, x, y);
}

void TForm4::Image4MouseMove(TShiftState shift, int x, int y)
{
    textMouseMove(TFrameTextKind::Date, shift, x, y);
}

void TForm4::Image4MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    textMouseUp(TFrameTextKind::Date, button, shift, x, y);
}

void TForm4::Image5MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    textMouseDown(Image5, button, shift, x, y);
}

void TForm4::Image5MouseMove(TShiftState shift, int x, int y)
{
    textMouseMove(TFrameTextKind::Other, shift, x, y);
}

void TForm4::Image5MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    textMouseUp(TFrameTextKind::Other, button, shift, x, y);
}

void TForm4::writePosition(TFrameTextKind kind, bool showStatus)
{
    const TImage& image = *controlsOf(kind).image;
    const int dpi = Form3->Resolution();
    // The image's top centre, in the coordinates of the unscrolled picture.
    const int screenX = ScrollBox1->HorzScrollBar.Position() + image.Left() + image.Width() / 2;
    const int screenY = ScrollBox1->VertScrollBar.Position() + image.Top();
    const int frameWidth = Form3->PixelValue(TFrameMeasure::FrameWidth, 0);
    const int picture = Image1->Width();
    // One scale for both axes, from the widths.
    const int frameX = picture > 0 ? static_cast<int>(static_cast<double>(frameWidth) * screenX / picture) : 0;
    const int frameY = picture > 0 ? static_cast<int>(static_cast<double>(frameWidth) * screenY / picture) : 0;
    Form3->WriteTextPosition(kind, PixelsToMillimetres(frameX, dpi), frameX, PixelsToMillimetres(frameY, dpi),
                             frameY);
    if (showStatus)
        StatusBar1->Panels(1).SetText(Format(StatusFormatOf(kind), screenX, screenY, frameX, frameY));
}

void TForm4::editLines(TFrameTextKind kind)
{
    const TextControls c = controlsOf(kind);
    c.text->SetText(Form5->EditLines(c.text->Text(), c.fontHolder->Font().Name()));
}

void TForm4::BitBtn1Click()
{
    editLines(TFrameTextKind::Title);
}

void TForm4::BitBtn2Click()
{
    editLines(TFrameTextKind::Date);
}

void TForm4::BitBtn3Click()
{
    editLines(TFrameTextKind::Other);
}
