// The main window: its controls and the binding of their handlers.
#include "main/main_form.h"

#include "controls/resize_control.h"
#include "main/status_texts.h"
#include "main/work_ahead.h"
#include "platform/application.h"
#include "platform/control_builders.h"
#include "platform/text_format.h"

TForm1* Form1 = nullptr;
TResizeControl* MainResizeControl = nullptr;


TForm1::TForm1(TWinControl* owner) : TForm(owner)
{
    SetClientSize(979, 735);
    buildControls();
    buildCorrectionPanel();
    OpenPictureDialog1 = new TOpenPictureDialog;
    SavePictureDialog1 = new TSavePictureDialog;
    MainResizeControl = new TResizeControl(this);
    bindHandlers();
    Created();
}

TForm1::~TForm1()
{
    delete OpenPictureDialog1;
    delete SavePictureDialog1;
    for (TBitmap* bitmap : {PhotoBitmap, TextBitmap, OutputBitmap, ScratchBitmap, FrameOverlay, PreviewOverlay,
                            SourceBitmap, PreviewSourceBitmap})
        delete bitmap;
}

void TForm1::buildControls()
{
    Label1 = NewLabel(this, 12, 12, 90, "");
    Edit1 = NewEdit(this, 104, 8, 420, "", false);
    BitBtn1 = NewButton(this, 528, 6, 90, "写真選択...");
    CheckBox1 = NewCheckBox(this, 628, 10, 200, "サブフォルダも検索する", false);
    Label2 = NewLabel(this, 12, 42, 90, "保存先フォルダ");
    Edit2 = NewEdit(this, 104, 38, 420, "", false);
    Edit2->SetHint("この上に保存先フォルダをドラッグします。");
    Edit2->SetShowHint(true);
    BitBtn13 = NewButton(this, 528, 36, 90, "参照...");
    Edit3 = NewEdit(this, 0, 0, 100, "", true);
    Edit3->SetVisible(false);

    Label11 = NewLabel(this, 12, 74, 90, "用紙設定");
    ComboBox1 = new TComboBox(this);
    ComboBox1->SetBounds(104, 70, 220, 24);
    std::vector<std::string> items;
    for (int i = 0; i < kPresetCount; ++i)
        items.push_back(FramePreset(i).name);
    ComboBox1->SetItems(items);
    ComboBox1->SetItemIndex(0);

    BitBtn5 = NewButton(this, 334, 68, 80, "新規作成");
    BitBtn6 = NewButton(this, 418, 68, 80, "写真選択");
    BitBtn8 = NewButton(this, 502, 68, 116, "高画質プレビュー");
    BitBtn3 = NewButton(this, 622, 68, 80, "１枚実行");
    BitBtn11 = NewButton(this, 706, 68, 70, "スキップ");
    BitBtn12 = NewButton(this, 780, 68, 80, "一括実行");
    BitBtn15 = NewButton(this, 864, 68, 60, "中断");
    BitBtn16 = NewButton(this, 628, 36, 70, "設定");
    BitBtn14 = NewButton(this, 859, 6, 100, "終了(&C)");
    BitBtn7 = NewButton(this, 0, 0, 10, "");
    BitBtn7->SetVisible(false);

    CheckBox3 = NewCheckBox(this, 12, 102, 160, "高品質で縮小する", true);
    CheckBox2 = NewCheckBox(this, 176, 102, 170, "画像をシャープにする", false);
    CheckBox4 = NewCheckBox(this, 350, 102, 210, "プレビューも高画質で読込む", false);
    CheckBox7 = NewCheckBox(this, 564, 102, 110, "補正ツール", false);

    ScrollBox1 = new TScrollBox(this);
    ScrollBox1->SetBounds(12, 128, 955, 542);
    Image1 = new TImage(ScrollBox1);
    Image1->SetBounds(8, 0, 993, 640);
    Image2 = new TImage(ScrollBox1);
    Image2->SetBounds(32, 32, 1200, 1200);
    Image2->SetTransparent(true);
    Image2->SetHint("タイトル文字列の上をクリックして文字列を入力します。");
    Image2->SetShowHint(true);
    Image2->SetVisible(false);
    Image3 = new TImage(ScrollBox1);
    Image3->SetBounds(208, 408, 641, 41);
    Image3->SetHint("クリックすると文字を編集出来ます");
    Image3->SetShowHint(true);
    Image4 = new TImage(ScrollBox1);
    Image4->SetBounds(264, 336, 641, 41);
    Image4->SetHint("クリックすると移動出来ます");
    Image5 = new TImage(ScrollBox1);
    Image5->SetBounds(292, 280, 641, 41);
    Image5->SetHint("クリックすると移動出来ます");
    Image10 = new TImage(this);
    Image10->SetBounds(0, 0, 160, 120);
    Image10->SetVisible(false);

    ProgressBar1 = new TProgressBar(this);
    ProgressBar1->SetBounds(12, 672, 955, 16);
    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetBounds(0, 713, 979, 22);
    StatusBar1->SetPanelWidths({300, 400, 50});
    // Wide enough for counts of five digits and any pixel's read-out in the
    // fonts installed here; the path between them gives way.
    constexpr int kCount = 99999;
    StatusBar1->FitPanel(0, {Format(kScanCountsText, kCount, kCount, kCount),
                             Format(kBatchProgressText, 100, kCount, kCount, kCount, kCount),
                             Format(kRunEndSummary, kCount, kCount, kCount),
                             Format(kRunAbortSummary, kCount, kCount, kCount)});
    StatusBar1->FitPanel(2, {Format(kPixelReadoutText, kCount, kCount, 255, 255, 255)});
    Memo1 = new TMemo(this);
    Memo1->SetVisible(false);
    Memo2 = new TMemo(this);
    Memo2->SetVisible(false);
}

void TForm1::buildCorrectionPanel()
{
    Panel1 = new TPanel(this);
    Panel1->SetBounds(747, 128, 220, 542);
    Panel1->SetVisible(false);
    BitBtn2 = NewButton(Panel1, 8, 4, 90, "初期化");
    Button1 = NewButton(Panel1, 110, 4, 100, "ヒストグラム");
    BitBtn4 = NewButton(Panel1, 0, 0, 10, "プレビュー");
    BitBtn4->SetVisible(false);

    Label3 = NewLabel(Panel1, 8, 40, 60, "移動");
    Label4 = NewLabel(Panel1, 8, 60, 14, "X");
    Edit5 = NewEdit(Panel1, 24, 58, 60, "0", true);
    Edit5->SetColor(clBtnFace);
    Edit5->SetImeMode(TImeMode::imDisable);
    Label8 = NewLabel(Panel1, 100, 60, 14, "Y");
    Edit6 = NewEdit(Panel1, 116, 58, 60, "0", true);
    TrackBar2 = NewTrackBar(Panel1, 8, 84, 200, 0, 100, 50, 10, 10);
    TrackBar3 = NewTrackBar(Panel1, 184, 40, 200, 0, 100, 50, 10, 10);
    TrackBar3->SetOrientation(TTrackBarOrientation::trVertical);
    TrackBar3->SetBounds(184, 40, 28, 100);

    Label5 = NewLabel(Panel1, 8, 118, 60, "回転");
    Label9 = NewLabel(Panel1, 8, 138, 14, "R");
    Edit7 = NewEdit(Panel1, 24, 136, 80, "0", true);
    TrackBar4 = NewTrackBar(Panel1, 8, 160, 200, 0, 1000, 500, 10, 50);
    TrackBar4->SetHint("カーソルキーの左右で0.01度づつ調整できます。");
    TrackBar4->SetShowHint(true);

    Label6 = NewLabel(Panel1, 8, 194, 60, "ズーム");
    Label10 = NewLabel(Panel1, 8, 214, 14, "Z");
    Label10->SetVisible(false);
    Edit8 = NewEdit(Panel1, 24, 212, 80, "1", false);
    Edit8->SetImeMode(TImeMode::imDisable);
    TrackBar1 = NewTrackBar(Panel1, 8, 236, 200, 0, 100, 0, 5, 5);

    Label15 = NewLabel(Panel1, 8, 270, 60, "明るさ");
    Edit16 = NewEdit(Panel1, 80, 268, 60, "0", true);
    TrackBar8 = NewTrackBar(Panel1, 8, 292, 200, 0, 400, 200, 20, 20);
    Label16 = NewLabel(Panel1, 8, 326, 80, "コントラスト");
    Edit17 = NewEdit(Panel1, 90, 324, 60, "0", true);
    TrackBar9 = NewTrackBar(Panel1, 8, 348, 200, 0, 200, 100, 10, 10);

    Label7 = NewLabel(Panel1, 8, 384, 20, "赤");
    TrackBar5 = NewTrackBar(Panel1, 30, 380, 200, 0, 128, 64, 8, 8);
    Label14 = NewLabel(Panel1, 8, 414, 20, "緑");
    TrackBar7 = NewTrackBar(Panel1, 30, 410, 200, 0, 128, 64, 8, 8);
    Label12 = NewLabel(Panel1, 8, 444, 20, "青");
    TrackBar6 = NewTrackBar(Panel1, 30, 440, 200, 0, 128, 64, 8, 8);
    for (TTrackBar* bar : {TrackBar5, TrackBar6, TrackBar7})
        bar->SetWidth(180);

    Edit13 = NewEdit(Panel1, 8, 478, 44, "0", true);
    Edit15 = NewEdit(Panel1, 56, 478, 44, "0", true);
    Edit14 = NewEdit(Panel1, 104, 478, 44, "0", true);
    CheckBox6 = NewCheckBox(Panel1, 152, 480, 64, "色補正", true);
    buildStepButtons();
}

void TForm1::bindHandlers()
{
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnCanResize = [this](int& w, int& h, bool& resize) { FormCanResize(w, h, resize); };
    OnResize = [this] { FormResize(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    OnMouseMove = [this](TShiftState shift, int x, int y) { FormMouseMove(shift, x, y); };
    // A drag from another program moves no pointer over the window, so the
    // last position seen is stale: the drop point itself is tested.
    OnDropFiles = [this](const std::vector<std::string>& paths, TPoint at, bool inClient) {
        LastMouseX = at.x;
        LastMouseY = at.y;
        WMDropFiles(paths, inClient);
    };
    ScrollBox1->OnMouseMove = [this](TShiftState shift, int x, int y) { ScrollBox1MouseMove(shift, x, y); };
    Edit2->OnMouseMove = [this](TShiftState shift, int x, int y) { Edit2MouseMove(shift, x, y); };
    BitBtn14->OnClick = [this] { BitBtn14Click(); };
    ComboBox1->OnChange = [this] { ComboBox1Change(); };
    Edit2->OnChange = [this] { Edit2Change(); };
    Edit1->OnKeyUp = [this](unsigned short& key, TShiftState shift) { Edit1KeyUp(key, shift); };
    Edit1->OnExit = [this] { pathFieldLeft(*Edit1); };
    Edit2->OnExit = [this] { pathFieldLeft(*Edit2); };
    BitBtn5->OnClick = [this] { BitBtn5Click(); };
    BitBtn6->OnClick = [this] { BitBtn6Click(); };
    BitBtn1->OnClick = [this] { BitBtn1Click(); };
    BitBtn13->OnClick = [this] { BitBtn13Click(); };
    BitBtn12->OnClick = [this] { BitBtn12Click(); };
    BitBtn3->OnClick = [this] { BitBtn3Click(); };
    BitBtn11->OnClick = [this] { BitBtn11Click(); };
    BitBtn15->OnClick = [this] { BitBtn15Click(); };
    BitBtn8->OnClick = [this] { BitBtn8Click(); };
    BitBtn4->OnClick = [this] { BitBtn4Click(); };
    bindCorrectionPanel();
    bindMouseHandlers();
    Application->OnActivate = [this] { ApplicationEvents1Activate(); };
    Application->OnDeactivate = [this] { ApplicationEvents1Deactivate(); };
}

void TForm1::pump()
{
    Application->ProcessMessages();
}
