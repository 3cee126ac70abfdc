// The frame settings window ("フレーム設定"): the editor of one frame layout.
// Fourteen measures (frame size, margins, photo area, the places of the three
// texts), each in whole millimetres and in pixels at the window's resolution;
// the pixel fields are the layout, the millimetre fields an input aid. It
// converts, validates, loads and saves frame settings files, opens the text
// placement window and the preferences, and on closing offers to apply the
// settings to the main window. From the start it also holds the trimming
// alignment that the photo fitting reads: at most one of the three buttons
// is checked.
#pragma once

#include <functional>
#include <string>

#include "frame_editor/frame_measures.h"
#include "frame_editor/frame_settings_file.h"
#include "pipeline/frame_text.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/standard_controls.h"

class TForm3 : public TForm {
public:
    explicit TForm3(TWinControl* owner);

    // The measure fields, millimetres and pixels.
    TEdit *Edit1, *Edit2;    // frame width
    TEdit *Edit3, *Edit4;    // frame height
    TEdit *Edit15, *Edit16;  // top margin
    TEdit *Edit7, *Edit8;    // bottom margin
    TEdit *Edit9, *Edit10;   // left margin
    TEdit *Edit5, *Edit6;    // right margin
    TEdit *Edit11, *Edit12;  // photo area width
    TEdit *Edit13, *Edit14;  // photo area height
    TEdit *Edit19, *Edit21;  // title X (centre)
    TEdit *Edit20, *Edit23;  // title Y (top)
    TEdit *Edit24, *Edit25;  // date X
    TEdit *Edit27, *Edit26;  // date Y
    TEdit *Edit28, *Edit30;  // other X
    TEdit *Edit29, *Edit31;  // other Y

    TLabel* Label29;
    TEdit* Edit17;  // resolution, dpi (read-only)
    TLabel* Label30;
    TLabel* Label33;
    TGroupBox* GroupBox1;  // the photo area and the text places
    TGroupBox* GroupBox2;
    TRadioButton* RadioButton1;  // top
    TRadioButton* RadioButton2;  // centre
    TRadioButton* RadioButton3;  // bottom
    TCheckBox* CheckBox1;        // keep an existing frame image
    TButton* BitBtn2;   // "新規作成"
    TButton* BitBtn3;   // "読み込み"
    TButton* BitBtn1;   // "上書き保存"
    TButton* BitBtn10;  // "新規保存"
    TButton* BitBtn7;   // "その他の設定"
    TButton* BitBtn11;  // "閉じる"
    TButton* BitBtn4;   // millimetres to pixels
    TButton* BitBtn5;   // pixels to millimetres (not shown)
    TButton* BitBtn6;   // "文字列設定"
    TButton* Button5;   // title font sample's font (outside the client area)
    TEdit* Edit22;      // title font sample
    TButton* Button1;   // date font sample's font (outside the client area)
    TEdit* Edit18;      // date font sample
    TOpenDialog OpenDialog1;
    TSaveDialog SaveDialog1;
    TFontDialog FontDialog1;

    // The frame settings file loaded or saved last; empty when none.
    std::string SettingsFilePath;
    // The frame image's file name that the last save wrote into its file.
    std::string FrameImagePath;
    // Unsaved changes in this window or in the text placement window.
    bool Modified = false;
    // A measure changed since the last load, new layout or showing: saving
    // draws the frame image again.
    bool GeometryModified = false;
    // Closing offers to apply the settings to the main window.
    bool OfferApply = false;

    // 1 top, 2 centre, 3 bottom, 0 none checked: the first checked in order.
    int CheckedAlignment() const;
    // The alignment the photo fitting reads: the checked one, except that a
    // button clicked while a photo is in work counts once that photo is done.
    int TrimmingAlignment() const { return alignmentInForce_; }
    // Checks the button of 1 top, 2 centre or 3 bottom, in force at once.
    void SetTrimmingAlignment(int alignment);
    // A pixel field as an integer, def when it holds none.
    int PixelValue(TFrameMeasure measure, int def) const;
    // The resolution field, 300 when it holds no positive integer.
    int Resolution() const;
    // Writes a text's place into its fields in the order X mm, X pixels,
    // Y mm, Y pixels (each write marks the settings modified).
    void WriteTextPosition(TFrameTextKind kind, int xMm, int xPixels, int yMm, int yPixels);

    // Writes a frame settings file at path of the geometry layout, with the
    // texts, fonts, alignment and line spacing that the windows hold, and its
    // frame image beside it unless one is there; silent. False when
    // something could not be written.
    bool WriteLayoutFile(const std::string& path, const TFrameLayout& layout);

    // Shows the window, loading path at its show in place of the main
    // window's frame settings path (which the main window's first relayout
    // has used up when the program opens this window at its start).
    void ShowWithFile(const std::string& path);

    // Handlers.
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();
    void BitBtn10Click();
    void BitBtn11Click();
    void Button1Click();
    void Button5Click();
    void Edit1Change();
    void Edit21Change();

    void MarkGeometryModified();
    // The frame settings file chosen in the open dialog, or "" when cancelled.
    std::string SelectFrameFile();
    // Checks the pixel fields; shows every problem in one box and returns false.
    bool ValidateFrameSettings();
    // True when text holds no byte outside "0".."9" (also when empty).
    static bool IsDigitsOnly(const std::string& text);
    // Loads a frame settings file into this window, the text placement window
    // and the quick text dialog's mirrors; true when it was taken (at once,
    // or once no photo of the main window is in work). An empty
    // path or a missing file changes nothing; a file that fails its checks
    // changes nothing and says why.
    bool LoadFrameSettings(const std::string& path);

private:
    struct MeasureFields {
        TEdit* mm;
        TEdit* pixels;
    };

    void buildControls();
    void buildMeasureFields();
    void bindHandlers();
    MeasureFields& fieldsOf(TFrameMeasure measure) { return fields_[static_cast<int>(measure)]; }
    const MeasureFields& fieldsOf(TFrameMeasure measure) const { return fields_[static_cast<int>(measure)]; }
    // The fourteen pixel fields (or millimetre fields) as numbers, 0 for none.
    TFrameLayout pixelLayout() const;
    TFrameLayout millimetreLayout() const;
    // Takes the values of a file that passed its checks.
    void takeSettings(const TFrameSettings& settings, const std::string& path);
    // The settings as the writers store them.
    TFrameSettings settingsToWrite() const;
    // Settings of that geometry and frame image name, with everything else
    // as the windows hold it.
    TFrameSettings settingsWith(const TFrameLayout& layout, const std::string& photoFile) const;
    // The folder the file dialogs open in: that of the frame settings file
    // in use, else "Frame/" beside the program.
    std::string frameFileFolder() const;
    // The new save; true when the settings were written.
    bool saveAsNew();
    // The save dialog until a name ending in ".ini" is taken; "" when cancelled.
    std::string askSavePath();
    // Writes the keys (and sets FrameImagePath); false after saying why not.
    bool writeSettings(const std::string& path);
    // Draws and writes the frame image; false after saying why not.
    bool writeFrameImage(const std::string& path);
    // The frame image named by the settings just saved at settingsPath,
    // beside them: written when redraw asks for it (unless an existing one
    // is to be kept) and whenever it is missing; false after saying why not.
    bool saveFrameImageBeside(const std::string& settingsPath, bool redraw);
    // Applies the main window's built-in layout again (after the question).
    void applyToMainWindow();
    // Values taken into this window and the texts' store (a file, a new
    // layout) once no photo is in work, as a run reads the texts and the
    // alignment; taking them is no edit, so the flags stay as the command
    // that took them set them.
    void takeWhenWorkAllows(std::function<void()> take);

    MeasureFields fields_[kFrameMeasureCount] = {};
    // The file the next showing loads, when its opener names one.
    std::string fileToShow_;
    int alignmentInForce_ = 1;
};

extern TForm3* Form3;
