// The frame settings window: validation, conversion, loading, the two saves
// with their frame image rules, and the questions on closing.
#include "frame_editor/frame_settings_form.h"

#include <filesystem>
#include <functional>
#include <vector>

#include <QImage>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/text_placement_form.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/jpeg_codec.h"
#include "platform/text_encoding.h"
#include "tests/main/app_test_support.h"

namespace {

// An L-size frame with a white border and a title, date and other text.
const char kFrameFile[] =
    "[Frame]\r\nPhotoFile=frame.bmp\r\nFramewidth=1500\r\nFrameheight=1051\r\nPhotowidth=1430\r\nPhotoheight=887\r\n"
    "Leftwidth=35\r\nRightwidth=35\r\nTopheight=35\r\nBottomheight=129\r\nFontPositionX=750\r\nFontPositionY=940\r\n"
    "DatePositionX=1255\r\nDatePositionY=957\r\nOtherPositionX=200\r\nOtherPositionY=950\r\nReferencePosition=2\r\n"
    "Kept=手書きの値\r\n"
    "[Title]\r\nName=ＭＳ 明朝\r\nSize=30\r\nStyle=B\r\nColor=255\r\nText=卒業記念\\n２０２６\r\nVrt=1\r\nAngle=-15\r\n"
    "[Date]\r\nSize=20\r\nText=2026.03.15\r\n[Other]\r\nText=３年Ｂ組\r\n[Config]\r\nBar5=30\r\n";

// The same frame with styled texts: a red bold Mincho title turned 5 degrees
// to the right, a green italic date, a small blue other text, bottom
// trimming and 30 % line spacing.
const char kStyledFrameFile[] =
    "[Frame]\r\nPhotoFile=frame.bmp\r\nFramewidth=1500\r\nFrameheight=1051\r\nPhotowidth=1430\r\nPhotoheight=887\r\n"
    "Leftwidth=35\r\nRightwidth=35\r\nTopheight=35\r\nBottomheight=129\r\nFontPositionX=750\r\nFontPositionY=940\r\n"
    "DatePositionX=1255\r\nDatePositionY=957\r\nOtherPositionX=200\r\nOtherPositionY=950\r\nReferencePosition=3\r\n"
    "[Title]\r\nName=ＭＳ 明朝\r\nSize=40\r\nStyle=B\r\nColor=255\r\nText=卒業記念写真撮影会\r\nAngle=-5\r\n"
    "[Date]\r\nName=ＭＳ Ｐゴシック\r\nSize=36\r\nStyle=I\r\nColor=32768\r\nText=2026.03.15\r\n"
    "[Other]\r\nSize=20\r\nColor=16711680\r\nText=３年Ｂ組\r\n[Config]\r\nBar5=30\r\n";

// Where the pixels that match lie within the rows from top down, and the
// mean row of those left and right of their middle: a text turned to the
// right lies lower on its right.
struct Ink {
    TRect bounds{};
    double leftY = 0;
    double rightY = 0;
};

Ink InkBelow(const TBitmap& picture, int top, const std::function<bool(TColor)>& match)
{
    Ink ink;
    ink.bounds = {picture.Width(), picture.Height(), 0, 0};
    std::vector<TPoint> points;
    for (int y = top; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (match(picture.Pixel(x, y))) {
                points.push_back({x, y});
                ink.bounds = {std::min(ink.bounds.Left, x), std::min(ink.bounds.Top, y),
                              std::max(ink.bounds.Right, x + 1), y + 1};
            }
    const int middle = (ink.bounds.Left + ink.bounds.Right) / 2;
    double sums[2] = {0, 0};
    int counts[2] = {0, 0};
    for (const TPoint p : points) {
        sums[p.x >= middle] += p.y;
        ++counts[p.x >= middle];
    }
    ink.leftY = counts[0] ? sums[0] / counts[0] : 0;
    ink.rightY = counts[1] ? sums[1] / counts[1] : 0;
    return ink;
}

class FrameSettingsFormTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
        ForceDirectories(folder.File("Frame"));
    }

    // Writes a frame settings file (code page 932) and its frame image.
    std::string WriteFrameFile(const std::string& name, const std::string& text = kFrameFile)
    {
        const std::string path = folder.File("Frame/" + name);
        WriteFileBytes(path, *ToCp932(text));
        WriteFileBytes(folder.File("Frame/frame.bmp"), "bmp");
        return path;
    }

    // The text of the last message box.
    std::string LastMessage() const
    {
        for (auto it = dialogs->Transcript().rbegin(); it != dialogs->Transcript().rend(); ++it)
            if (it->rfind("message[", 0) == 0)
                return it->substr(it->find("]: ") + 3, it->rfind(" -> ") - it->find("]: ") - 3);
        return {};
    }

    std::vector<std::string> PixelTexts() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < kFrameMeasureCount; ++i)
            texts.push_back(std::to_string(Form3->PixelValue(MeasureAt(i), -1)));
        return texts;
    }

    std::vector<std::string> FieldTexts() const
    {
        std::vector<std::string> texts;
        for (TEdit* edit : {Form3->Edit1,  Form3->Edit2,  Form3->Edit3,  Form3->Edit4,  Form3->Edit5,  Form3->Edit6,
                            Form3->Edit7,  Form3->Edit8,  Form3->Edit9,  Form3->Edit10, Form3->Edit11, Form3->Edit12,
                            Form3->Edit13, Form3->Edit14, Form3->Edit15, Form3->Edit16, Form3->Edit19, Form3->Edit20,
                            Form3->Edit21, Form3->Edit23, Form3->Edit24, Form3->Edit25, Form3->Edit26, Form3->Edit27,
                            Form3->Edit28, Form3->Edit29, Form3->Edit30, Form3->Edit31})
            texts.push_back(edit->Text());
        return texts;
    }
};

}  // namespace

TEST_F(FrameSettingsFormTest, ValidationShowsEveryMessageInOrder)
{
    dialogs->Message("", IDOK, "");
    EXPECT_FALSE(Form3->ValidateFrameSettings());
    EXPECT_EQ(LastMessage(),
              "フレーム幅が未入力です。\nフレーム高が未入力です。\n右フチ幅が未入力です。\n下フチ高が未入力です。\n"
              "左フチ幅が未入力です。\n内枠幅が未入力です。\n内枠幅が未入力です。\n上フチ高が未入力です。\n"
              "タイトル文字横位置が未入力です。\nタイトル文字縦位置が未入力です。\n日付文字横位置が未入力です。\n"
              "日付文字縦位置が未入力です。\n");

    FillValidFrameLayout();
    EXPECT_TRUE(Form3->ValidateFrameSettings()) << "the other text's place may stay empty";

    Form3->Edit25->SetText("-5");
    Form3->Edit31->SetText("１");
    dialogs->Message("", IDOK, "");
    EXPECT_FALSE(Form3->ValidateFrameSettings());
    EXPECT_EQ(LastMessage(), "日付文字横位置に半角数字以外が入力されています。\n"
                             "その他文字縦位置に半角数字以外が入力されています。\n"
                             "日付文字横位置にマイナス値が入力されています。\n");

    // Places on the frame's edge pass, one beyond fails; the sums must match.
    FillValidFrameLayout();
    Form3->Edit31->SetText("1051");
    Form3->Edit30->SetText("1501");
    Form3->Edit12->SetText("1431");
    dialogs->Message("", IDOK, "");
    EXPECT_FALSE(Form3->ValidateFrameSettings());
    EXPECT_EQ(LastMessage(), "その他文字横位置にフレーム幅より大きい値が入力されています。\n幅の合計が合いません。\n");
}

TEST_F(FrameSettingsFormTest, ValidationLimitsAndEmptySizes)
{
    FillValidFrameLayout();
    Form3->Edit2->SetText("3394");
    Form3->Edit12->SetText("3324");
    dialogs->Message("", IDOK, "");
    EXPECT_FALSE(Form3->ValidateFrameSettings());
    EXPECT_EQ(LastMessage(), "フレーム幅が処理可能な最大値を超えています。最大：3393pix\n");
    Form3->Edit2->SetText("3393");
    Form3->Edit12->SetText("3323");
    EXPECT_TRUE(Form3->ValidateFrameSettings());

    // A frame and photo area of no size would add up; they are refused first.
    for (TEdit* edit : {Form3->Edit2, Form3->Edit12, Form3->Edit10, Form3->Edit6, Form3->Edit21, Form3->Edit25})
        edit->SetText("0");
    Form3->Edit14->SetText("0");
    Form3->Edit4->SetText("164");
    dialogs->Message("", IDOK, "");
    EXPECT_FALSE(Form3->ValidateFrameSettings());
    EXPECT_EQ(LastMessage().rfind("枠サイズ設定が０以下になっています。\n写真サイズ設定が０以下になっています。\n", 0), 0u)
        << LastMessage();
}

TEST_F(FrameSettingsFormTest, DigitsOnlyIsByteByByte)
{
    EXPECT_TRUE(TForm3::IsDigitsOnly(""));
    EXPECT_TRUE(TForm3::IsDigitsOnly("0123456789"));
    EXPECT_FALSE(TForm3::IsDigitsOnly("-5"));
    EXPECT_FALSE(TForm3::IsDigitsOnly("12a"));
    EXPECT_FALSE(TForm3::IsDigitsOnly("１２"));
    EXPECT_FALSE(TForm3::IsDigitsOnly(" 12"));
}

TEST_F(FrameSettingsFormTest, MillimetresToPixelsAfterYes)
{
    Form3->Edit1->SetText("127");
    Form3->Edit3->SetText("89");
    Form3->Edit11->SetText("127");
    Form3->Edit13->SetText("89");
    Form3->Edit19->SetText("63");
    dialogs->Message("ピクセル寸法欄のデータが全て上書きされます。", IDNO, Form1->MessageCaption);
    Form3->BitBtn4->Click();
    EXPECT_EQ(Form3->Edit2->Text(), "");
    dialogs->Message("ｍｍからピクセルへ計算して宜しいですか？", IDYES);
    Form3->BitBtn4->Click();
    EXPECT_EQ(Form3->Edit2->Text(), "1500");
    EXPECT_EQ(Form3->Edit4->Text(), "1051");
    EXPECT_EQ(Form3->Edit12->Text(), "1500");
    EXPECT_EQ(Form3->Edit14->Text(), "1051");
    EXPECT_EQ(Form3->Edit21->Text(), "744");
    EXPECT_EQ(Form3->Edit31->Text(), "0") << "an empty millimetre field gives 0 pixels";
    Form3->Edit2->SetText("1051");
    Form3->BitBtn5Click();
    EXPECT_EQ(Form3->Edit1->Text(), "88");
    EXPECT_TRUE(Form3->Modified && Form3->GeometryModified);
}

TEST_F(FrameSettingsFormTest, LoadFillsTheThreeWindows)
{
    const std::string path = WriteFrameFile("a.ini");
    dialogs->File({path});
    Form3->BitBtn3->Click();
    EXPECT_EQ(Form3->SettingsFilePath, path);
    EXPECT_EQ(Form3->Edit2->Text(), "1500");
    EXPECT_EQ(Form3->Edit1->Text(), "127");
    EXPECT_EQ(Form3->Edit4->Text(), "1051");
    EXPECT_EQ(Form3->Edit3->Text(), "88");
    EXPECT_EQ(Form3->Edit23->Text(), "940");
    EXPECT_EQ(Form3->Edit20->Text(), "79");
    EXPECT_EQ(Form3->TrimmingAlignment(), 2);
    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    EXPECT_EQ(title.Text, "卒業記念\\n２０２６");
    EXPECT_EQ(title.Font.Name(), "ＭＳ 明朝");
    EXPECT_EQ(title.Font.Style(), unsigned{fsBold});
    EXPECT_EQ(title.Font.Color(), clRed);
    EXPECT_EQ(title.Angle, -15);
    EXPECT_TRUE(title.Vertical);
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Date).Font.Size(), 20);
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Other).Font.Size(), 54);
    EXPECT_EQ(Form4->LineSpacingPercent(), 30);
    EXPECT_EQ(Form7->Edit7->Text(), "３年Ｂ組");
    EXPECT_FALSE(Form3->Modified || Form3->GeometryModified);
    EXPECT_TRUE(Form3->OfferApply);
}

TEST_F(FrameSettingsFormTest, LoadTakesCp932AndUtf8FilesAlike)
{
    // The styled frame file with a face for each text, as the original
    // platform stores it, as a Linux text editor writes it, and with a mark.
    std::string text = kFrameFile;
    text.replace(text.find("[Date]\r\n"), 8, "[Date]\r\nName=ＭＳ Ｐゴシック\r\n");
    text.replace(text.find("[Other]\r\n"), 9, "[Other]\r\nName=ＭＳ ゴシック\r\n");
    auto loaded = [this](const std::string& bytes) {
        const std::string path = WriteFrameFile("a.ini");
        WriteFileBytes(path, bytes);
        dialogs->File({path});
        Form3->BitBtn3->Click();
        std::vector<std::string> texts;
        for (const TFrameTextKind kind : {TFrameTextKind::Title, TFrameTextKind::Date, TFrameTextKind::Other}) {
            texts.push_back(Form4->FrameText(kind).Text);
            texts.push_back(Form4->FrameText(kind).Font.Name());
        }
        return texts;
    };
    const std::vector<std::string> expected = {"卒業記念\\n２０２６", "ＭＳ 明朝", "2026.03.15", "ＭＳ Ｐゴシック",
                                               "３年Ｂ組", "ＭＳ ゴシック"};
    EXPECT_EQ(loaded(*ToCp932(text)), expected);
    EXPECT_EQ(loaded(text), expected);
    EXPECT_EQ(loaded("\xEF\xBB\xBF" + text), expected);
    EXPECT_EQ(Form7->Edit7->Text(), "３年Ｂ組");

    // Half-width kana whose code page 932 bytes are UTF-8 as well ("ﾐｽﾞｷ"
    // would read as "Ͻ޷"): a file valid in both is the original platform's.
    const std::string kana = "[Frame]\r\nPhotoFile=frame.bmp\r\nFramewidth=1500\r\nFrameheight=1051\r\n"
                             "Photowidth=1430\r\nPhotoheight=887\r\nLeftwidth=35\r\nRightwidth=35\r\n"
                             "Topheight=35\r\nBottomheight=129\r\n[Title]\r\nName=IPAMincho\r\nText=ﾐｽﾞｷ\r\n"
                             "[Other]\r\nText=ﾄｷﾒｷ\r\n";
    const std::string bytes = *ToCp932(kana);
    QStringDecoder utf8(QStringDecoder::Utf8);
    static_cast<void>(utf8.decode(QByteArray::fromStdString(bytes)));
    ASSERT_FALSE(utf8.hasError()) << "the bytes are UTF-8 too";
    loaded(bytes);
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Title).Text, "ﾐｽﾞｷ");
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Other).Text, "ﾄｷﾒｷ");
}

TEST_F(FrameSettingsFormTest, RefusedFileChangesNothing)
{
    WriteFrameFile("a.ini");
    std::string text = kFrameFile;
    text.replace(text.find("Photowidth=1430"), 15, "Photowidth=1400");
    text.replace(text.find("frame.bmp"), 9, "none.bmp");
    const std::string path = WriteFrameFile("bad.ini", text);
    Form3->LoadFrameSettings(folder.File("Frame/a.ini"));
    Form4->Edit9->SetText("変えた日付");
    const std::vector<std::string> before = FieldTexts();

    dialogs->Message("", IDOK, "");
    Form3->LoadFrameSettings(path);
    EXPECT_EQ(LastMessage(), "枠画像ファイルが存在しません。\n枠サイズ設定（横）と写真幅+余白設定の値が合致しません。");
    EXPECT_EQ(FieldTexts(), before);
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Date).Text, "変えた日付") << "the texts are not taken either";
    EXPECT_EQ(Form3->SettingsFilePath, folder.File("Frame/a.ini"));

    Form3->LoadFrameSettings(folder.File("Frame/missing.ini"));  // silent
    Form3->LoadFrameSettings("");
    EXPECT_EQ(FieldTexts(), before);
}

TEST_F(FrameSettingsFormTest, RefusedLoadKeepsTheFlagsOfTheEditsItDidNotReplace)
{
    Form3->Show();
    const std::string path = WriteFrameFile("a.ini");
    dialogs->File({path});
    Form3->BitBtn3->Click();
    WriteFileBytes(folder.File("Frame/a.bmp"), "old");
    Form3->Edit12->SetText("1400");
    Form3->Edit10->SetText("65");
    std::string text = kFrameFile;
    text.replace(text.find("Photowidth=1430"), 15, "Photowidth=1400");
    const std::string bad = WriteFrameFile("bad.ini", text);

    dialogs->File({bad});
    dialogs->Message("枠サイズ設定（横）と写真幅+余白設定の値が合致しません。", IDOK, "");
    Form3->BitBtn3->Click();
    EXPECT_TRUE(Form3->Modified);
    EXPECT_TRUE(Form3->GeometryModified);
    EXPECT_TRUE(Form3->OfferApply);
    dialogs->Message("設定を保存して閉じますか？", IDCANCEL, Form1->MessageCaption, MB_YESNOCANCEL);
    Form3->Close();
    ASSERT_TRUE(Form3->Visible());

    // The changed geometry is still drawn into the frame image.
    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_EQ(ReadFileBytes(folder.File("Frame/a.bmp")).substr(0, 2), "BM");
}

TEST_F(FrameSettingsFormTest, WideFrameLoadsButIsNotSaved)
{
    std::string text = kFrameFile;
    text.replace(text.find("Framewidth=1500"), 15, "Framewidth=3394");
    text.replace(text.find("Photowidth=1430"), 15, "Photowidth=3324");
    const std::string path = WriteFrameFile("wide.ini", text);
    Form3->LoadFrameSettings(path);
    EXPECT_EQ(Form3->Edit2->Text(), "3394");
    dialogs->Message("最大：3393pix", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_EQ(ReadFileBytes(path), *ToCp932(text));
}

TEST_F(FrameSettingsFormTest, LoadDialogTakesOnlyDotIni)
{
    const std::string path = WriteFrameFile("FRAME.INI");
    dialogs->File({path}, [&](const FileDialogRequest& request) {
        EXPECT_EQ(request.title, "フレーム設定ファイルの読み込み");
        EXPECT_EQ(request.initialDir, folder.File("Frame/"));
        EXPECT_EQ(request.filter, "フレーム設定ファイル (*.ini)|*.ini");
    });
    dialogs->File({});
    EXPECT_EQ(Form3->SelectFrameFile(), "");
    EXPECT_TRUE(dialogs->AllUsed()) << "upper-case .INI shows the dialog again";
}

TEST_F(FrameSettingsFormTest, FileDialogsOpenBesideTheFrameFileInUse)
{
    const std::string elsewhere = folder.File("elsewhere/");
    ForceDirectories(elsewhere);
    WriteFileBytes(elsewhere + "x.ini", *ToCp932(kFrameFile));
    WriteFileBytes(elsewhere + "frame.bmp", "bmp");
    auto opensIn = [](const std::string& expected) {
        return [expected](const FileDialogRequest& request) { EXPECT_EQ(request.initialDir, expected); };
    };
    dialogs->File({elsewhere + "x.ini"}, opensIn(folder.File("Frame/")));
    Form3->BitBtn3->Click();
    ASSERT_EQ(Form3->SettingsFilePath, elsewhere + "x.ini");

    dialogs->File({}, opensIn(elsewhere));
    Form3->BitBtn3->Click();
    dialogs->File({}, opensIn(elsewhere));
    Form3->BitBtn10->Click();

    std::filesystem::remove_all(elsewhere);
    dialogs->File({}, opensIn(folder.File("Frame/")));
    Form3->BitBtn10->Click();
}

TEST_F(FrameSettingsFormTest, NewSaveThenLoadRoundTrips)
{
    FillValidFrameLayout();
    Form3->Edit19->SetText("63");
    Form4->Edit9->SetText("2026.03.15");
    Form4->Edit2->SetText("10");
    Form3->RadioButton3->SetChecked(true);
    Form3->CheckBox1->SetChecked(true);  // no image exists: it is written all the same
    const std::vector<std::string> filled = PixelTexts();
    const std::string path = folder.File("Frame/a.b.ini");

    dialogs->File({folder.File("Frame/a.b.INI")}, [&](const FileDialogRequest& request) {
        EXPECT_EQ(request.title, "設定の保存");
        EXPECT_EQ(request.initialDir, folder.File("Frame/"));
        EXPECT_EQ(request.fileName, "");
        EXPECT_EQ(request.filter, "ini files (*.ini)|*.ini|All files (*.*)|*.*");
    });
    dialogs->File({path}, [](const FileDialogRequest& request) { EXPECT_EQ(request.fileName, "a.b.ini"); });
    dialogs->Message("保存しました。", IDOK, "");
    Form3->BitBtn10->Click();
    EXPECT_EQ(Form3->SettingsFilePath, path);
    EXPECT_EQ(Form3->FrameImagePath, "a.b.bmp");
    EXPECT_FALSE(Form3->Modified);
    EXPECT_TRUE(Form3->OfferApply);
    EXPECT_EQ(TIniFile(path).ReadString("Frame", "PhotoFile", ""), "a.b.bmp");
    EXPECT_EQ(TIniFile(path).ReadInteger("Frame", "OtherPositionX", 0), 375) << "empty: frame width / 4";
    EXPECT_EQ(TIniFile(path).ReadInteger("Frame", "OtherPositionY", 0), 940) << "empty: the title's Y";
    EXPECT_EQ(Form3->Edit30->Text(), "");

    // The frame image opens in another reader: frame size, photo area black.
    const QImage image(QString::fromStdString(folder.File("Frame/a.b.bmp")));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1500, 1051));
    EXPECT_EQ(image.pixel(35, 35), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1464, 921), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(34, 35), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(750, 922), qRgb(255, 255, 255));

    dialogs->Message("新規作成して宜しいですか？", IDYES);
    Form3->BitBtn2->Click();
    EXPECT_EQ(Form3->Edit2->Text(), "");
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Title).Text, "[タイトル文字列]");
    EXPECT_EQ(Form3->TrimmingAlignment(), 1);
    EXPECT_TRUE(Form3->SettingsFilePath.empty());

    dialogs->File({path});
    Form3->BitBtn3->Click();
    std::vector<std::string> expected = filled;
    // The other text's place was stored as its defaults.
    expected[static_cast<int>(TFrameMeasure::OtherX)] = "375";
    expected[static_cast<int>(TFrameMeasure::OtherY)] = "940";
    EXPECT_EQ(PixelTexts(), expected);
    EXPECT_EQ(Form3->Edit19->Text(), "63");
    EXPECT_EQ(Form3->Edit11->Text(), "121") << "millimetres from the pixels";
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Date).Text, "2026.03.15");
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Title).Angle, 10);
    EXPECT_EQ(Form3->TrimmingAlignment(), 3);
}

TEST_F(FrameSettingsFormTest, FrameImageRules)
{
    Form1->FrameFilePath = folder.File("Frame/frame001.ini");
    const std::string image = folder.File("Frame/frame001.bmp");
    FillValidFrameLayout();
    Form3->GeometryModified = false;
    // Under the main window's own frame settings path with the geometry
    // unchanged, an existing image is kept; a missing one is written.
    WriteFileBytes(image, "kept");
    dialogs->File({Form1->FrameFilePath});
    dialogs->Message("保存しました。", IDOK);
    Form3->BitBtn10->Click();
    EXPECT_EQ(ReadFileBytes(image), "kept");
    std::remove(image.c_str());
    dialogs->File({Form1->FrameFilePath});
    dialogs->Message("は既に存在します。", IDYES, "設定の保存");
    dialogs->Message("保存しました。", IDOK);
    Form3->BitBtn10->Click();
    EXPECT_EQ(ReadFileBytes(image).substr(0, 2), "BM");

    // Any other reason writes it, unless it exists and is to be kept.
    Form3->GeometryModified = true;
    WriteFileBytes(image, "kept");
    Form3->CheckBox1->SetChecked(true);
    dialogs->File({Form1->FrameFilePath});
    dialogs->Message("は既に存在します。", IDYES, "設定の保存");
    dialogs->Message("保存しました。", IDOK);
    Form3->BitBtn10->Click();
    EXPECT_EQ(ReadFileBytes(image), "kept");

    // The overwrite save with the box ticked keeps an existing image; a
    // missing one is written all the same (nothing is overwritten).
    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_EQ(ReadFileBytes(image), "kept");
    std::remove(image.c_str());
    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_EQ(ReadFileBytes(image).substr(0, 2), "BM");
    Form3->CheckBox1->SetChecked(false);
    Form3->GeometryModified = false;
    WriteFileBytes(image, "kept");
    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_EQ(ReadFileBytes(image), "kept") << "the geometry has not changed";
    Form3->GeometryModified = true;
    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_EQ(ReadFileBytes(image).substr(0, 2), "BM");
}

TEST_F(FrameSettingsFormTest, CopiedFrameFileSavedUnchangedLoadsAgain)
{
    // A frame file copied under a new name with its image, which keeps its
    // own name: the save names "b.bmp", and makes it.
    const std::string original = WriteFrameFile("a.ini");
    ForceDirectories(folder.File("copy"));
    const std::string copy = folder.File("copy/b.ini");
    WriteFileBytes(copy, ReadFileBytes(original));
    WriteFileBytes(folder.File("copy/frame.bmp"), ReadFileBytes(folder.File("Frame/frame.bmp")));
    dialogs->File({copy});
    Form3->BitBtn3->Click();
    ASSERT_EQ(Form3->SettingsFilePath, copy);

    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_EQ(TIniFile(copy).ReadString("Frame", "PhotoFile", ""), "b.bmp");
    Form3->Edit23->SetText("900");
    dialogs->File({copy});
    Form3->BitBtn3->Click();
    EXPECT_EQ(Form3->Edit23->Text(), "940") << "the saved file is accepted";
    EXPECT_FALSE(Form3->Modified);
}

TEST_F(FrameSettingsFormTest, OverwriteSaveKeepsOtherKeysAndWithoutFileAsksForOne)
{
    FillValidFrameLayout();
    dialogs->File({});  // no current file: the new save's dialog
    Form3->BitBtn1->Click();
    EXPECT_TRUE(Form3->Modified);

    const std::string path = WriteFrameFile("a.ini");
    Form3->LoadFrameSettings(path);
    Form3->Edit23->SetText("900");
    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Frame", "FontPositionY", 0), 900);
    EXPECT_EQ(ini.ReadString("Frame", "Kept", ""), "手書きの値");
}

TEST_F(FrameSettingsFormTest, FailedWriteChangesNothing)
{
    const std::string path = WriteFrameFile("a.ini");
    Form3->LoadFrameSettings(path);
    Form3->Edit23->SetText("900");
    SetFileWriteFaultForTesting([](const std::string&) { return true; });
    dialogs->Message(path + " に書き込めません", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_TRUE(Form3->Modified);
    EXPECT_EQ(ReadFileBytes(path), *ToCp932(kFrameFile));

    dialogs->File({folder.File("Frame/b.ini")});
    dialogs->Message("b.ini に書き込めません", IDOK, "");
    Form3->BitBtn10->Click();
    EXPECT_EQ(Form3->SettingsFilePath, path);
    EXPECT_TRUE(Form3->Modified);
    EXPECT_FALSE(FileExists(folder.File("Frame/b.ini")));
}

TEST_F(FrameSettingsFormTest, ClosingQuestions)
{
    Form3->Show();
    FillValidFrameLayout();
    dialogs->Message("設定を保存して閉じますか？", IDCANCEL, Form1->MessageCaption, MB_YESNOCANCEL);
    Form3->Close();
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(Form3->Edit2->Text(), "1500");

    // Yes, but nothing saved: the window stays, nothing is applied.
    dialogs->Message("設定を保存して閉じますか？", IDYES);
    dialogs->File({});
    Form3->Close();
    EXPECT_TRUE(Form3->Visible());

    // Yes and saved: the apply question, then the built-in layout's
    // geometry again, with the fonts the editor changed.
    Form4->Edit22->Font().SetSize(50);
    dialogs->Message("設定を保存して閉じますか？", IDYES);
    dialogs->File({folder.File("Frame/a.ini")});
    dialogs->Message("保存しました。", IDOK);
    dialogs->Message("設定を反映しますか？", IDNO, Form1->MessageCaption, MB_YESNO);
    Form3->Close();
    EXPECT_FALSE(Form3->Visible());
    EXPECT_EQ(Form4->TextFont(TFrameTextKind::Title).Size(), 50);

    // A new layout closed without changes asks about applying.
    Form3->Show();
    dialogs->Message("新規作成して宜しいですか？", IDYES);
    Form3->BitBtn2->Click();
    dialogs->Message("保存した設定を反映しますか？", IDYES);
    Form3->BitBtn11->Click();
    EXPECT_FALSE(Form3->Visible());

    Form3->Show();  // no change: closes silently
    Form3->Close();
    EXPECT_FALSE(Form3->Visible());
}

TEST_F(FrameSettingsFormTest, ClosingTheProgramAsksAboutUnsavedFrameSettings)
{
    ShowMainWindow();
    Form3->Show();
    FillValidFrameLayout();
    dialogs->Message("設定を保存して閉じますか？", IDCANCEL, Form1->MessageCaption, MB_YESNOCANCEL);
    Form1->Close();
    EXPECT_TRUE(Form1->Visible());
    EXPECT_TRUE(Form3->Visible());
    EXPECT_FALSE(Application->Terminated());

    dialogs->Message("設定を保存して閉じますか？", IDNO);
    Form1->Close();
    EXPECT_FALSE(Form1->Visible());
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FrameSettingsFormTest, OtherSettingsShowThePreferences)
{
    dialogs->Modal([](TForm& form) {
        EXPECT_EQ(form.Caption(), "設定");
        form.SetModalResult(IDOK);
    });
    Form3->BitBtn7->Click();
    EXPECT_TRUE(dialogs->AllUsed());
}

TEST_F(FrameSettingsFormTest, TextStylingLoadedInTheEditorReachesThePrint)
{
    const std::string path = WriteFrameFile("styled.ini", kStyledFrameFile);
    const std::string photos = MakePhotoFolder("photos", {"a.jpg"});
    const TFrameLayout& l = FramePreset(0).layout;
    auto red = [](TColor c) { return GetRValue(c) > GetGValue(c) + 80 && GetRValue(c) > GetBValue(c) + 80; };
    auto green = [](TColor c) { return GetGValue(c) > GetRValue(c) + 50 && GetGValue(c) > GetBValue(c) + 50; };
    auto blue = [](TColor c) { return GetBValue(c) > GetRValue(c) + 80 && GetBValue(c) > GetGValue(c) + 80; };

    for (const int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "はい" : "いいえ");
        Form3->Show();
        dialogs->File({path});
        Form3->BitBtn3->Click();
        dialogs->Message("保存した設定を反映しますか？", answer, Form1->MessageCaption, MB_YESNO);
        Form3->BitBtn11->Click();
        ASSERT_FALSE(Form3->Visible());
        EXPECT_EQ(Form1->FrameLayout, l);
        EXPECT_EQ(Form2->Preference(5), 30);

        const std::string out = folder.File(answer == IDYES ? "yes" : "no");
        Form1->Edit2->SetText(out + "/");
        Form1->WMDropFiles({photos}, true);
        dialogs->Message("完了しました。", IDOK);
        Form1->BitBtn3->Click();
        TBitmap picture;
        ASSERT_EQ(DecodeJpegFile(out + "/a.jpg", picture), JpegResult::Ok);
        ASSERT_EQ(picture.Width(), l.Framewidth);

        // Each text in its colour at the layout's place, below the photo.
        const int band = l.Topheight + l.Photoheight + 8;
        const Ink title = InkBelow(picture, band, red);
        const Ink date = InkBelow(picture, band, green);
        const Ink other = InkBelow(picture, band, blue);
        for (const auto& [ink, x] : {std::pair{title, l.FontPositionX}, std::pair{date, l.DatePositionX},
                                     std::pair{other, l.OtherPositionX}}) {
            ASSERT_LT(ink.bounds.Left, ink.bounds.Right) << "no ink of the text's colour";
            EXPECT_NEAR((ink.bounds.Left + ink.bounds.Right) / 2, x, 8);
        }
        // The title turned 5 degrees to the right, its right half lower by
        // about sin 5 degrees of half its width; the date level.
        const double drop = 0.087 * (title.bounds.Right - title.bounds.Left) / 2;
        EXPECT_NEAR(title.rightY - title.leftY, drop, drop / 3);
        EXPECT_NEAR(date.rightY - date.leftY, 0, 3);
        // The title at 40 points, the other text at 20: nine and four
        // full-width characters about 53 and 27 pixels wide.
        EXPECT_GT(title.bounds.Right - title.bounds.Left, 9 * 48);
        EXPECT_LT(other.bounds.Right - other.bounds.Left, 4 * 30);
        // The photo trimmed at its bottom: the top of the photo area shows
        // rows well below the photo's top (its green grows downwards).
        EXPECT_GT(GetGValue(picture.Pixel(l.Framewidth / 2, 4)), 30);

        // The end of the run brings the layout's own styling back.
        EXPECT_EQ(Form4->TextFont(TFrameTextKind::Title).Color(), clBlack);
        EXPECT_EQ(Form4->FrameText(TFrameTextKind::Title).Angle, 0);
    }
}
