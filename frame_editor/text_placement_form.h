// The text placement window ("文字列設定"). From the start it holds the three
// texts of the frame (title, date, other): each text's edit, its font holder
// (an invisible edit used only for its font), its angle edit and the
// vertical-writing flags, and the line spacing of the editor preview. Opened
// by the frame settings window, it edits them and places the texts on a
// scaled picture of the frame by dragging, writing each place back into that
// window's fields in millimetres and pixels.
#pragma once

#include <string>

#include "pipeline/frame_layout.h"
#include "pipeline/frame_text.h"
#include "pipeline/preview_scale.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/image_control.h"
#include "platform/range_controls.h"
#include "platform/scroll_box.h"
#include "platform/standard_controls.h"
#include "platform/status_bar.h"

class TResizeControl;

class TForm4 : public TForm {
public:
    explicit TForm4(TWinControl* owner);

    TLabel* Label3;
    TEdit* Edit4;      // title text
    TButton* BitBtn1;  // multi-line input of the title
    TButton* Button5;  // title font
    TLabel* Label1;
    TEdit* Edit2;  // title angle
    TLabel *Label4, *Label7;
    TLabel* Label12;
    TEdit* Edit9;      // date text
    TButton* BitBtn2;  // multi-line input of the date
    TButton* Button1;  // date font
    TLabel* Label2;
    TEdit* Edit3;  // date angle
    TLabel *Label5, *Label6;
    TLabel* Label9;
    TEdit* Edit7;      // other text
    TButton* BitBtn3;  // multi-line input of the other text
    TButton* Button2;  // other font
    TLabel* Label10;
    TEdit* Edit8;  // other angle
    TLabel* Label11;
    TEdit* Edit1;  // how to move the texts
    TLabel* Label18;
    TTrackBar* TrackBar5;  // line spacing of the editor preview, percent
    TButton* BitBtn14;     // "閉じる"
    TScrollBox* ScrollBox1;
    TImage* Image1;  // the frame picture
    TImage* Image2;  // overlay (not shown)
    TImage* Image3;  // title
    TImage* Image4;  // date
    TImage* Image5;  // other text (not shown)
    TStatusBar* StatusBar1;
    TEdit* Edit22;  // title font holder
    TEdit* Edit10;  // date font holder
    TEdit* Edit12;  // other font holder
    TCheckBox* CheckBox4;  // title vertical writing
    TCheckBox* CheckBox5;  // date and other vertical writing
    TEdit* Edit5;   // default title font
    TEdit* Edit6;   // default date font
    TEdit* Edit13;  // default other font
    TFontDialog FontDialog1;
    // Moves a text image: attached to one of them at a time.
    TResizeControl* ResizeControl;

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
    // Takes a text with its font, angle and flag, as the operator's edits
    // would (the other text's flag is the date's).
    void StoreFrameText(TFrameTextKind kind, const TFrameText& text);
    // A new layout's texts: the title placeholder, the date and other text
    // empty, angles empty, the default fonts, flags off.
    void ClearFrameTexts();
    int LineSpacingPercent() const { return TrackBar5->Position(); }
    void SetLineSpacingPercent(int percent) { TrackBar5->SetPosition(percent); }
    // The width of the frame picture on screen.
    int FramePictureWidth() const { return Image1->Width(); }
    // The client area of the preview that shows the frame and the texts.
    PictureSize PreviewAreaSize() const { return {ScrollBox1->ClientWidth(), ScrollBox1->ClientHeight()}; }
    // Sizes the window and the frame picture for a layout (pixels), draws the
    // picture and the title, and places the three text images at their
    // places; an other-text place not given is derived from the title's.
    void PrepareFrameView(const TFrameLayout& layout, bool otherXGiven, bool otherYGiven);
    // Redraws the title image and places it.
    void RenderTitlePreview();

    // Window handlers.
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormCanResize(int& newWidth, int& newHeight, bool& resize);
    void BitBtn14Click();
    // Redraw after a change.
    void Edit4Change();
    void Edit9Change();
    void Edit7Change();
    void Edit2Exit();
    void Edit2KeyUp(unsigned short& key, TShiftState shift);
    void Edit3Exit();
    void Edit3KeyUp(unsigned short& key, TShiftState shift);
    void Edit8Exit();
    void Edit8KeyUp(unsigned short& key, TShiftState shift);
    void CheckBox4Click();
    void CheckBox5Click();
    void TrackBar5Change();
    // Fonts.
    void Button5Click();
    void Button1Click();
    void Button2Click();
    // Multi-line input.
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    // Selecting a text image.
    void Image3Click();
    void Image4Click();
    void Image5Click();
    // Dragging a selected text image.
    void Image3MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image3MouseMove(TShiftState shift, int x, int y);
    void Image3MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void Image4MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image4MouseMove(TShiftState shift, int x, int y);
    void Image4MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void Image5MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image5MouseMove(TShiftState shift, int x, int y);
    void Image5MouseUp(TMouseButton button, TShiftState shift, int x, int y);

private:
    struct TextControls {
        TEdit* text;
        TEdit* fontHolder;
        TEdit* angle;
        TCheckBox* vertical;
        TImage* image;
    };
    // The controls that hold one text; the date and the other text share
    // one vertical-writing box.
    TextControls controlsOf(TFrameTextKind kind) const;
    void buildControls();
    void buildTextRow(int top, TLabel*& caption, const char* captionText, TEdit*& text, TButton*& lines,
                      TButton*& font, TLabel*& angleCaption, TEdit*& angle, TLabel*& degrees);
    void buildPreview();
    void bindHandlers();
    // Sizes the window from the main window's size, at least 811 x 720.
    void sizeFromMainWindow();
    // Family 1: the title redrawn, then the text's image selected (none for
    // null) and the settings marked modified.
    void redrawAfterChange(TImage* select, bool pumpMessages);
    void angleKeyUp(unsigned short key, TImage* select);
    void chooseFont(TFrameTextKind kind);
    // The text edited line by line; storing it redraws as an edit does.
    void editLines(TFrameTextKind kind);
    void selectImage(TImage* image);
    void textMouseDown(TImage* image, TMouseButton button, TShiftState shift, int x, int y);
    void textMouseMove(TFrameTextKind kind, TShiftState shift, int x, int y);
    void textMouseUp(TFrameTextKind kind, TMouseButton button, TShiftState shift, int x, int y);
    // Writes where the text's image stands into the frame settings window's
    // fields; on a mouse move also into the status bar.
    void writePosition(TFrameTextKind kind, bool showStatus);
    // Places image with its top centre at a frame place (pixels).
    void placeAtFrame(TImage& image, int x, int y, int frameWidth);

    bool updating_ = false;
};

extern TForm4* Form4;
