// The main window and the whole work state of the photo pipeline: the layout
// in force, the corrections, the photo list position, the busy and abort
// flags, the work bitmaps, planes and histogram sets. The methods named after
// the window's commands read its controls and call the pipeline.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "main/overwrite_check.h"
#include "pipeline/colour_correction.h"
#include "pipeline/frame_layout.h"
#include "pipeline/frame_text.h"
#include "pipeline/histogram.h"
#include "pipeline/pixel_plane.h"
#include "pipeline/preview_drag.h"
#include "pipeline/preview_scale.h"
#include "pipeline/work_control.h"
#include "platform/bitmap.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/image_control.h"
#include "platform/jpeg_prefetch.h"
#include "platform/range_controls.h"
#include "platform/scroll_box.h"
#include "platform/standard_controls.h"
#include "platform/status_bar.h"

class TCanvas;
class TResizeControl;
struct WorkAhead;
struct WorkAheadInputs;
enum class JpegSaveResult;
struct FileFailure;

// The start of a proposed output folder's name, before the photo folder's.
inline constexpr char kDefaultSaveFolderPrefix[] = "TA";

class TForm1 : public TForm {
public:
    explicit TForm1(TWinControl* owner);
    ~TForm1() override;

    // --- Controls --------------------------------------------------------
    TLabel* Label1;      // "写真ファイル"
    TEdit* Edit1;        // photo folder (or single photo)
    TButton* BitBtn1;    // choose a photo
    TCheckBox* CheckBox1;  // search sub-folders
    TLabel* Label2;      // "保存先フォルダ"
    TEdit* Edit2;        // output folder
    TButton* BitBtn13;   // browse for the output folder
    TEdit* Edit3;        // frame path field (hidden)
    TLabel* Label11;     // "用紙設定"
    TComboBox* ComboBox1;  // the eight layouts
    TButton* BitBtn5;    // "新規作成"
    TButton* BitBtn6;    // "写真選択"
    TButton* BitBtn7;    // command button without a command of its own (hidden)
    TButton* BitBtn8;    // "高画質プレビュー"
    TButton* BitBtn3;    // "１枚実行"
    TButton* BitBtn11;   // "スキップ"
    TButton* BitBtn12;   // "一括実行"
    TButton* BitBtn15;   // "中断"
    TButton* BitBtn16;   // "設定"
    TButton* BitBtn14;   // "終了(&C)"
    TCheckBox* CheckBox3;  // high-quality reduction
    TCheckBox* CheckBox2;  // sharpen
    TCheckBox* CheckBox4;  // high-quality preview
    TCheckBox* CheckBox7;  // correction tools
    TScrollBox* ScrollBox1;
    TImage* Image1;      // preview
    TImage* Image2;      // overlay of the mouse tools (hidden)
    TImage* Image3;      // title text image
    TImage* Image4;      // date text image
    TImage* Image5;      // other text image
    TImage* Image10;     // thumbnail
    TProgressBar* ProgressBar1;
    TStatusBar* StatusBar1;
    TMemo* Memo1;        // processing log (hidden)
    TMemo* Memo2;        // photo list (hidden)

    // The correction panel.
    TPanel* Panel1;
    TButton* BitBtn2;    // "初期化"
    TButton* BitBtn4;    // "プレビュー" (hidden)
    TButton* Button1;    // "ヒストグラム"
    TLabel *Label3, *Label4, *Label8, *Label5, *Label9, *Label6, *Label10;
    TLabel *Label15, *Label16, *Label7, *Label14, *Label12;
    TEdit *Edit5, *Edit6, *Edit7, *Edit8;        // X, Y offset, angle, zoom
    TEdit *Edit13, *Edit14, *Edit15;             // red, blue, green gain
    TEdit *Edit16, *Edit17;                      // brightness, contrast
    TTrackBar *TrackBar1, *TrackBar2, *TrackBar3, *TrackBar4;  // zoom, X, Y, angle
    TTrackBar *TrackBar5, *TrackBar6, *TrackBar7;              // red, blue, green
    TTrackBar *TrackBar8, *TrackBar9;                          // brightness, contrast
    TCheckBox* CheckBox6;  // colour correction
    // Step buttons, hidden in the design (their handlers run from code):
    // move, rotation, zoom, all gains, red, green, blue.
    TSpeedButton *SpeedButton1, *SpeedButton6, *SpeedButton4, *SpeedButton5;
    TSpeedButton *SpeedButton7, *SpeedButton2, *SpeedButton3, *SpeedButton8;
    TSpeedButton *SpeedButton12, *SpeedButton13, *SpeedButton14, *SpeedButton15;
    TSpeedButton *SpeedButton17, *SpeedButton16, *SpeedButton19, *SpeedButton18;
    // The mouse modes move, rotate, zoom (hidden and disabled in the design).
    TSpeedButton *SpeedButton9, *SpeedButton10, *SpeedButton11;

    // --- Work state ------------------------------------------------------
    TFrameLayout FrameLayout;
    TFrameLayout PreviewLayout;
    int PresetIndex = 0;
    std::string FrameFilePath;
    std::string MessageCaption;
    std::string ProgramFolder;
    int PhotoOffsetX = 0;
    int PhotoOffsetY = 0;
    float PhotoAngle = 0.0f;
    float PhotoZoom = 1.0f;
    bool Dragging = false;
    TPoint DragLast;
    TPoint DragStart;
    float PendingRotation = 0.0f;
    TRect OverlayShape;
    int LastMouseX = 0;
    int LastMouseY = 0;
    std::string PreSaveFolderName;
    TColor BackgroundColor = clWhite;
    int PhotoIndex = 0;
    bool Busy = false;
    bool Initialising = false;
    bool OverwriteConfirmed = false;
    bool AbortRequested = false;
    std::string CachedPhotoPath;
    std::string ReduceMessage;
    int SubFolderCount = 0;
    int FileCount = 0;
    int JpegCount = 0;
    int ColorStep = 0;
    double ColorStrength = 1.0;
    float LineSpacing = 1.1f;
    int InactiveTransparency = 0;
    HistogramSet HistogramBefore{};
    HistogramSet HistogramAfter{};
    PixelPlane SourcePlane;
    PixelPlane WorkPlane;
    PixelPlane MaskPlane;

    // The eight work bitmaps, in creation order.
    TBitmap* PhotoBitmap = nullptr;
    TBitmap* TextBitmap = nullptr;
    TBitmap* OutputBitmap = nullptr;
    TBitmap* ScratchBitmap = nullptr;
    TBitmap* FrameOverlay = nullptr;
    TBitmap* PreviewOverlay = nullptr;
    TBitmap* SourceBitmap = nullptr;
    TBitmap* PreviewSourceBitmap = nullptr;
    // True when FormCreate could not create them (the program then ends).
    bool WorkBitmapsFailed = false;

    // --- Start-up, window, closing ---------------------------------------
    void FormCreate();
    void FormShow();
    void FormCanResize(int& newWidth, int& newHeight, bool& resize);
    void FormResize();
    // What the first resize after the first show does besides placing the
    // controls, when FrameFilePath names an existing file: the built-in
    // layout applied again for the window's size, the preview redrawn. It
    // happens once (applying a layout empties FrameFilePath).
    void RelayoutForFrameFile();
    // A close asked for during long work stops the work as an abort does
    // and closes the window once the work has unwound.
    void FormCloseQuery(bool& canClose);
    void CloseIfAsked();
    void FormClose(TCloseAction& action);
    void BitBtn14Click();
    void ApplicationEvents1Activate();
    void ApplicationEvents1Deactivate();
    void ResetWorkState();
    void ResetPositionAndEnableRun();
    void DisableRunButtons();
    void DisableCommandButtons();
    void EnableCommandButtons();

    // --- Changes that wait for the work in progress --------------------------
    // Runs change now when the window has no work in progress; otherwise it
    // waits until the work allows it: a batch applies it before its next
    // photo, any other work when it ends, in the order the changes came.
    // Every window routes through here what would change a run's inputs or
    // work state (a frame file taken, a layout applied again, a dialog that
    // edits the texts opened), so that no photo sees a change halfway.
    void AfterPhotoWork(std::function<void()> change);
    bool WorkInProgress() const { return workDepth_ > 0; }

    // --- Settings file -----------------------------------------------------
    std::string SettingsFilePath() const;
    // True when the file existed and was read.
    bool ReadSettingsFile();
    void WriteSettingsFile();

    // --- Frame layouts -----------------------------------------------------
    int ApplyFrameLayout(int preset);
    // The layout's geometry and frame image alone: the texts' fonts, angles
    // and vertical flags, the trimming alignment and the line spacing stay
    // as they are (what the frame settings editor set). Returns 0.
    int ApplyFrameGeometry(int preset);
    void ComboBox1Change();
    void Edit2Change();
    void BitBtn5Click();
    void BitBtn6Click();
    void RefreshLayoutPreview();

    // --- Photo loading and fitting ----------------------------------------
    int LoadPhoto(const std::string& path);
    int PreparePhoto(const std::string& path, bool preview);
    int CopySourcePhoto(bool preview);
    // The preview copy of the cached photo in PreviewSourceBitmap (high
    // quality when CheckBox4 was ticked at the load), made on first use with
    // the load's settings.
    const TBitmap& PreviewSource();
    // 0; -1 the reduction was aborted; -2 the crop is too large to build.
    int FitPhotoToArea(const TBitmap& source, bool preview);
    int ShowFitted(const TBitmap& graphic, int target);
    void RedrawFramePreview();

    // --- Rotation, reduction, colour (the pipeline with this window's state)
    int RotateByAngle(const TBitmap& source, TBitmap& destination, double angle);
    int RotateQuarterTurns(const TBitmap& source, TBitmap& destination, double angle);
    int ShrinkHighQuality(TBitmap& bitmap, int targetWidth, int targetHeight);
    int ApplyColorCorrection(TBitmap& bitmap);
    void BuildHistogramSet(const TBitmap& bitmap, int which);
    int HistogramMedian() const;

    // --- Texts, composition and saving ------------------------------------
    // Draws a text block with its top-left (unturned) or top-centre (turned)
    // at x, y of target, smoothed.
    void DrawTextBlock(int x, int y, TBitmap& target, const TFont& font, const std::string& text, int angle);
    // Draws a text into image at the preview's scale; the caller places it.
    void DrawTextPreview(TImage& image, const TFont& font, const std::string& text, int angle);
    // The image that shows a text of that kind on the preview.
    TImage* TextImage(TFrameTextKind kind) const;
    // The top-left corner in frame pixels where the composition draws text
    // (of that kind): where its image sits on the preview, scaled to the
    // output; for an image still where the window put it, exactly the
    // layout place it stands for.
    TPoint TextOutputPlace(TFrameTextKind kind, const TFrameText& text);

    // --- The frame settings editor's drawings ------------------------------
    // The frame image of a geometry (white, photo area black) in PhotoBitmap,
    // stretched into image when given; nothing for a size of 0 or less.
    void DrawFrameImage(TImage* image, int fw, int fh, int pw, int ph, int l, int t);
    // The same frame image written as a .bmp file; throws Exception when the
    // file cannot be written (an existing one then stays as it was).
    void SaveFrameImage(const std::string& path, int fw, int fh, int pw, int ph, int l, int t);
    // The title block for the text placement window, at the scale of its
    // frame picture and with its line spacing; the caller places the image.
    void DrawEditorTextPreview(TImage& image, const TFont& font, const std::string& text, int angle);
    int ComposeAndSave(const std::string& path, bool preview, bool show);
    int SaveJpeg(const std::string& path, const TBitmap& bitmap);
    std::string AskJpegSavePath(const std::string& proposed);
    static int EndsWithBackslash(const std::string& text);
    int BlendFrameImage(int width, int height, TBitmap& target, const TBitmap& frameImage);

    // --- Runs ---------------------------------------------------------------
    void BitBtn12Click();
    void RunBatch();
    void BitBtn3Click();
    void BitBtn11Click();
    void BitBtn15Click();
    void BitBtn8Click();
    void BitBtn4Click();
    void RefreshPreview();

    // --- Photo list -------------------------------------------------------
    void WMDropFiles(const std::vector<std::string>& paths, bool inClient);
    void ScanDroppedItems(const std::vector<std::string>& items);
    bool ScanDroppedFolder(const std::string& path);
    void ScanFolderForJpeg(const std::string& folder, std::vector<std::string>& list);
    void BuildPhotoList();
    int OpenPhotoFile();
    int BrowseSaveFolder();
    void BitBtn1Click();
    void BitBtn13Click();
    void FormMouseMove(TShiftState shift, int x, int y);
    void ScrollBox1MouseMove(TShiftState shift, int x, int y);
    void Edit2MouseMove(TShiftState shift, int x, int y);
    // Enter takes the typed photo path as a drop of it would.
    void Edit1KeyUp(unsigned short& key, TShiftState shift);

    // --- Corrections --------------------------------------------------------
    void ResetCorrections();
    // n steps of the preferences' zoom step (held in 0.5..2.0), or of
    // -0.001 degrees (held in -180..180); each writes its edit, no re-render.
    void StepZoom(int n);
    void StepRotation(int n);
    // The bars and "色補正" pass nothing on while Busy; the step buttons
    // always change their value and re-render through BitBtn4Click.
    void TrackBar1Change();
    void TrackBar2Change();
    void TrackBar3Change();
    void TrackBar4Change();
    void TrackBar5Change();
    void TrackBar6Change();
    void TrackBar7Change();
    void TrackBar8Change();
    void TrackBar9Change();
    void CheckBox6Click();
    void SpeedButton1Click();
    void SpeedButton6Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton7Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton8Click();
    void SpeedButton12Click();
    void SpeedButton13Click();
    void SpeedButton14Click();
    void SpeedButton15Click();
    void SpeedButton16Click();
    void SpeedButton17Click();
    void SpeedButton18Click();
    void SpeedButton19Click();
    void Edit5Exit();
    void Edit6Change();
    void Edit7Change();
    void Edit8Change();
    void BitBtn2Click();
    void CheckBox7Click();
    void BitBtn16Click();
    void Button1Click();

    // --- Mouse on the preview -------------------------------------------------
    void Image1MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image1MouseMove(TShiftState shift, int x, int y);
    void Image1MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void Image2MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image2MouseMove(TShiftState shift, int x, int y);
    void Image2MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void Image3Click();
    void Image3MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image3MouseMove(TShiftState shift, int x, int y);
    void Image3MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void Image4Click();
    void Image4MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image4MouseMove(TShiftState shift, int x, int y);
    void Image4MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void SpeedButton9Click();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void CheckBox4Click();
    // One drag step in the mode that is down.
    void ApplyDragStep(TShiftState shift, int x, int y);
    void BeginRotateLine(int x, int y);
    void TrackRotateLine(int x, int y);
    void EndRotateLine();
    void ResizeControlMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void ResizeControlMouseMove(TShiftState shift, int x, int y);
    void ResizeControlMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void ZoomFromResizeFrame();

    TOpenPictureDialog* OpenPictureDialog1 = nullptr;
    TSavePictureDialog* SavePictureDialog1 = nullptr;

private:
    void buildControls();
    void buildCorrectionPanel();
    void buildStepButtons();
    void bindHandlers();
    void bindCorrectionPanel();
    // A bar's change: nothing while Busy, else write, then re-render.
    void passBarChange(const std::function<void()>& write);
    // The zoom as Edit8 shows it; 1.0 (and Edit8 "1") when it shows none.
    float zoomFromEdit8();
    // A move button: offset changed by direction x the move step at that zoom.
    void moveByStep(int& offset, TEdit* edit, int direction);
    // A colour button: each gain edit raised or lowered by ColorStep.
    void stepGains(std::initializer_list<TEdit*> edits, bool raise);
    void refuseEditText(const char* message);
    void bindMouseHandlers();
    bool modeDown() const;
    // The overlay Image2 filled with its see-through blue over width x height,
    // then draw's red, then the key pixel at the bottom left.
    void paintOverlay(int width, int height, const std::function<void(TCanvas&)>& draw);
    void clearOverlay(int width, int height) { paintOverlay(width, height, {}); }
    // The photo area on the preview, where the zoom rectangle lives.
    PreviewArea previewArea() const;
    void trackZoomRectangle(int x, int y);
    void releaseZoomRectangle(int x, int y);
    // A plain click on the title: the quick text dialog with the three texts.
    void openQuickText();
    // Whether the resize frame drags this text image: attached to it, and no
    // work in progress.
    bool dragsText(const TImage& image) const;
    void placeWindow(int left, int top, int width, int height);
    // The title preview into Image3 and the date preview into Image4 (the
    // previews of an empty photo list); the frame preview has placed them.
    void drawTextPreviews();
    // Puts the image of a text at layoutPlace (frame pixels: X the block's
    // horizontal centre, Y its top) on the preview, and notes both places.
    void placeTextImage(TFrameTextKind kind, TPoint layoutPlace);
    struct TextImagePlace {
        bool placed = false;
        TPoint preview;  // the image's place on the unscrolled preview
        TPoint layout;   // the layout place it stands for
    };
    std::array<TextImagePlace, std::size(kFrameTextKinds)> textImagePlaces_;
    // A text image made ready for a text preview: see-through white.
    void blankTextImage(TImage& image);
    // The text block laid out at full size into TextBitmap and shrunk into
    // image by previewWidth / frameWidth, both sides by the width ratio;
    // held within limit when one is given (PreviewSizeWithin).
    void drawScaledTextPreview(TImage& image, const TFont& font, const std::string& text, int angle,
                               float lineSpacing, int previewWidth, int frameWidth,
                               std::optional<PictureSize> limit);
    // Saves the composed picture for a source photo: 0 saved, -2 the
    // operator chose no file, -4 the save failed.
    int saveComposed(const std::string& sourcePath);
    // Whether the picture may be written to target: no question needed, or
    // the one its kind asks answered Yes. A file from before the run that
    // the operator chose in the save dialog (not proposed) is not asked
    // about again; a photo of the list or another photo's picture always is.
    bool mayReplace(const OverwriteCheck::Target& target, bool proposed);
    // The photos of the list and the pictures saved since it was built.
    OverwriteCheck overwriteCheck_;
    // The end of the list after a single run or a skip: the box with message
    // and a fresh start (the single run also resets corrections and
    // histograms).
    void finishList(bool resetCorrections, const std::string& message);
    // Loads the photo at the new index and shows it (composed at full
    // quality after a single run, as a preview after a skip).
    void showNextPhoto(const std::string& name, bool fullQuality);
    bool batchCompleted_ = false;
    // A batch's photo whose work ran out of memory: the exception's box,
    // then the question of an unreadable photo; its result as PreparePhoto's.
    int photoOutOfMemory(const std::string& path, const std::bad_alloc& failure);
    // The question about a missing or unreadable photo: Yes aborts (-1), No
    // notes skipNote in the log and skips the photo (-2).
    int askAbortOrSkip(const std::string& path, const char* question, const std::string& skipNote);
    // Photos of the list that its runs passed over, skipped or failed: a
    // single run that ends the list without saving sums up the list's runs.
    int listSkips_ = 0;
    int listErrors_ = 0;
    // The batch's next photo worked ahead while a photo saves: held from the
    // start of a batch's photos to its end, none otherwise.
    std::unique_ptr<WorkAhead> workAhead_;
    // Set while the next photo is worked ahead: it shows and logs nothing.
    bool workingAhead_ = false;
    // The encode and write of SaveJpeg: the composed picture of a batch's
    // photo is saved on a thread of its own while the next photo is worked
    // ahead, and its result taken before the save returns.
    JpegSaveResult saveJpegFile(const TBitmap& bitmap, const std::string& path, FileFailure* failure);
    // Output folders cleared of the temporary files that processes which
    // died while saving left there: each once in the life of the program.
    std::set<std::string> sweptFolders_;
    // Whether the batch's next photo is to be worked ahead now: it is
    // being decoded ahead, is not the photo in work, is not larger than the
    // overlap pays for, and no abort is asked for.
    bool mayWorkAhead(const std::string& next);
    // Starts the decodes of the list's photos from index from through
    // index through that the memory bound of the batch allows (see
    // kAheadPixels); the first photo that does not fit ends them.
    void decodeAhead(int from, int through);
    // The next photo's pixel work into the work bitmaps (the current photo's
    // state waiting meanwhile), held for its turn when it came through
    // without anything unusual.
    void workNextPhotoAhead(const std::string& next);
    bool workPhotoAhead(const std::string& path);
    // Exchanges the work state's photos and histogram with those held ahead.
    void exchangeWorkState();
    WorkAheadInputs workAheadInputs();
    // At a photo's turn, what was worked ahead for it, in the order its work
    // makes them: the cached photo (when its file is unchanged), then the
    // fitted photo and the composition (when nothing the work read has
    // changed). Each is taken in place of the work, or false.
    bool takeSourceWorkedAhead(const std::string& path);
    bool takeFittedWorkedAhead();
    bool takeCompositionWorkedAhead();
    // The colour correction of the controls with these gains, and with the
    // gains as the edits hold them, when the correction takes them as they
    // are (it limits others and writes the limit into the edit).
    ColourCorrection colourCorrection(int red, int green, int blue) const;
    std::optional<ColourCorrection> colourCorrectionAsTyped() const;
    // The batch's next photos, decoded on threads of their own while the
    // current one is worked on; taken over when the batch comes to them.
    JpegPrefetch prefetch_;
    // The hidden thumbnail is drawn only when it shows.
    void showThumbnail(const TBitmap& picture);
    bool closeAfterWork_ = false;
    // What Edit1 held when the photo list was built, and the list again
    // from Edit1 when it has changed since (false when it names no photo).
    // The fields' relative paths are made absolute first.
    std::string photoListSource_;
    bool followEdit1();
    // Where the photo dialog opens: the folder of the photo list's source
    // as the photo field names it, else the home folder.
    std::string photoListFolder() const;
    // Whether Edit1 names photos: a JPEG file, or a folder whose scan finds
    // one. Otherwise the box says so and the list in work stays, Edit1
    // naming it again.
    bool photoFieldNamesPhotos();
    // A path field's text made absolute against the current folder: every
    // save makes the output folder current, and the save and decode threads
    // would take a relative path against whatever it is then. It is done
    // when the path is given: Enter, leaving the field, and at the latest
    // when a run starts (drops and dialogs give absolute paths).
    void takePathWhole(TEdit& field);
    void pathFieldLeft(TEdit& field);
    // A new photo list from the first of items, a folder or one photo
    // (dropped or typed; the photo field and the proposed output folder set
    // as for a drop), or, without items, from the photo field as it stands.
    void takePhotoPaths(const std::vector<std::string>& items);
    // After a new photo list: progress and corrections back to the start,
    // the first photo loaded and shown.
    void startNewList();
    // The text previews (empty list) or the current photo, for the layout
    // in force.
    void redrawPreviewContent();
    void setCommandButtonsEnabled(bool enabled);
    void resetCorrectionBars();
    // Offsets, angle and zoom back to neutral, members and edits.
    void neutralPosition();
    // LoadPhoto without the copy into the photo in work: decodes, turns and
    // caches the photo, and notes how its preview copy is to be made.
    // photoTurn: the photo's own final work, which may take what a batch
    // worked ahead for it. -3 when an abort came while it waited for its
    // decode ahead; kPhotoTooLarge when its header states more pixels than
    // are decoded.
    int cacheSourcePhoto(const std::string& path, bool photoTurn);
    static constexpr int kPhotoTooLarge = -4;
    // The decoded photo in ScratchBitmap into the cache, turned a quarter
    // when its orientation differs from the frame's.
    void turnIntoCache();
    // Photos of 320 x 240 or less are skipped.
    static bool tooSmallToWork(const TBitmap& photo);
    // The fitting, the colour correction and the histogram after it: 0, or
    // the fitting's failure.
    int fitAndCorrect(const TBitmap& source, bool preview);
    // The frame picture of the photo in work into OutputBitmap, with the
    // texts in the final mode.
    void composeOutput(bool preview);
    // The texts the final composition draws (the non-empty ones), in their
    // order, and the places it draws them at.
    struct PlacedText {
        TFrameTextKind kind;
        TFrameText text;
        TPoint at;
    };
    std::vector<PlacedText> placedTexts();
    struct PreviewSourceRequest {
        bool pending = false;
        bool highQuality = false;
        bool sharpen = false;
        TPoint size;
    };
    PreviewSourceRequest previewSource_;
    // The fitting's steps: the crop window on the photo turned by PhotoAngle
    // (turnedSize: the turned photo's size; none when too large to build);
    // that window of the turned photo made into ScratchBitmap (only the
    // window is turned); a window reduced or stretched into the photo area
    // as the photo in work, turned being the photo itself or the turned
    // window in ScratchBitmap (window then the whole of it).
    std::optional<TRect> fittingWindow(int sourceWidth, int sourceHeight, TPoint turnedSize, bool preview);
    // false when an abort stopped it.
    bool turnWindow(const TBitmap& source, TPoint turnedSize, const TRect& window);
    int fitWindow(const TBitmap& turned, const TRect& window, TPoint turnedSize, int eW, int eH);
    // The window of turned, on the background colour where it reaches out,
    // into ScratchBitmap.
    void cropWindow(const TBitmap& turned, const TRect& window);
    // The window stretched into rect of an eW x eH photo on the background;
    // false when an abort stopped it.
    bool stretchWindow(const TBitmap& turned, const TRect& window, const TRect& rect, int eW, int eH);
    // The high-quality reduction of a window inside turned; 0 or its failure.
    int reduceWindow(const TBitmap& turned, const TRect& window, int eW, int eH);
    // The high-quality reduction of a window of picture into target.
    int shrinkWindowInto(const TBitmap& picture, const TRect& window, TBitmap& target, int targetWidth,
                         int targetHeight);
    // An abort seen in a photo's work after its file checks: logged (not
    // when worked ahead); -1.
    int photoWorkAborted();
    // Waits for the decode ahead of path, if one runs, with the window
    // answering meanwhile; false when an abort ended the wait.
    bool waitForDecodeAhead(const std::string& path);
    // The control of long pixel work: the window answers every ~20 ms and
    // the abort flag stops it. Work done ahead stops as well when the
    // operator changed what it reads.
    WorkControl reductionControl();
    void pumpWhileWorkingAhead();
    bool workAheadStopped_ = false;
    void pump();
    // Work in progress (counted by BusyScope) and the changes waiting for it.
    friend class BusyScope;
    int workDepth_ = 0;
    std::deque<std::function<void()>> waitingChanges_;
    void endWork();
    void applyWaitingChanges();
    // The batch between two photos: the changes that waited for the photo
    // before are applied, then the window's events act at once.
    void pumpBetweenPhotos();
};

extern TForm1* Form1;
extern TResizeControl* MainResizeControl;
