// The text placement window: its answers about the three texts, the title's
// redraw, placement and thin strokes, and the write-back of a dragged text's
// place.
#include "frame_editor/text_placement_form.h"

#include <functional>

#include <QApplication>
#include <QFontDialog>
#include <QKeyEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include "controls/resize_control.h"
#include "dialogs/multiline_input_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "main/program_start.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

class TextPlacementFormTest : public AppTest {};

TEST_F(TextPlacementFormTest, AnswersEachKindFromItsOwnControls)
{
    Form4->Edit4->SetText("卒業記念");
    Form4->Edit9->SetText("2026.12.08");
    Form4->Edit7->SetText("3年B組");
    Form4->Edit2->SetText("15");
    Form4->Edit3->SetText("-30");
    Form4->Edit8->SetText("abc");
    Form4->Edit10->Font().SetName("ＭＳ 明朝");
    Form4->CheckBox5->SetChecked(true);

    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    EXPECT_EQ(title.Text, "卒業記念");
    EXPECT_EQ(title.Angle, 15);
    EXPECT_FALSE(title.Vertical);
    EXPECT_EQ(title.Font.Height(), -107);
    const TFrameText date = Form4->FrameText(TFrameTextKind::Date);
    EXPECT_EQ(date.Text, "2026.12.08");
    EXPECT_EQ(date.Angle, -30);
    EXPECT_EQ(date.Font.Name(), "ＭＳ 明朝");
    const TFrameText other = Form4->FrameText(TFrameTextKind::Other);
    EXPECT_EQ(other.Text, "3年B組");
    EXPECT_EQ(other.Angle, 0) << "an angle that is not an integer draws at 0";
    EXPECT_TRUE(date.Vertical && other.Vertical) << "the date and the other text share one box";
    EXPECT_EQ(&Form4->TextFont(TFrameTextKind::Other), &Form4->Edit12->Font());
}

TEST_F(TextPlacementFormTest, LayoutResetKeepsTextsAndTheTitleFace)
{
    Form4->Edit4->SetText("卒業記念");
    Form4->Edit22->Font().SetName("ＭＳ 明朝");
    Form4->Edit22->Font().SetStyle(fsBold);
    Form4->Edit12->Font().SetStyle(fsItalic);
    Form4->Edit12->Font().SetColor(clRed);
    Form4->Edit8->SetText("90");
    Form4->CheckBox4->SetChecked(true);

    Form4->ResetTextFormats(36, 30, 24);
    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    EXPECT_EQ(title.Text, "卒業記念");
    EXPECT_EQ(title.Font.Name(), "ＭＳ 明朝");
    EXPECT_EQ(title.Font.Style(), unsigned{fsBold});
    EXPECT_EQ(title.Font.Size(), 36);
    EXPECT_FALSE(title.Vertical);
    const TFrameText other = Form4->FrameText(TFrameTextKind::Other);
    EXPECT_EQ(other.Font.Name(), kDefaultFaceName);
    EXPECT_EQ(other.Font.Style(), 0u);
    EXPECT_EQ(other.Font.Color(), clBlack);
    EXPECT_EQ(other.Font.Charset(), 128);
    EXPECT_EQ(other.Font.Size(), 24);
    EXPECT_EQ(other.Angle, 0);
    EXPECT_EQ(Form4->Edit8->Text(), "0");
}

namespace {

// A 1500-pixel frame shown 750 pixels wide.
class TextPlacementViewTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
        Form3->Edit2->SetText("1500");
        Form3->Edit4->SetText("1051");
        Form3->Edit8->SetText("129");
        Form4->Image1->SetBounds(0, 0, 750, 525);
        Form3->Modified = false;
    }
};

}  // namespace

TEST_F(TextPlacementViewTest, DraggedTitleWritesItsPlaceInPixelsAndMillimetres)
{
    TImage& title = *Form4->Image3;
    Form4->Image3Click();
    ASSERT_EQ(Form4->ResizeControl->Control(), &title);
    title.SetBounds(375 - title.Width() / 2, 470, title.Width(), title.Height());
    Form4->Image3MouseUp(TMouseButton::mbLeft, 0, 5, 5);
    EXPECT_EQ(Form3->Edit21->Text(), "750");
    EXPECT_EQ(Form3->Edit23->Text(), "940");
    EXPECT_EQ(Form3->Edit19->Text(), "63");
    EXPECT_EQ(Form3->Edit20->Text(), "79");
    EXPECT_TRUE(Form3->Modified);

    // A press and a move drag the image and write on every move.
    title.DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 10, 10);
    title.DispatchMouseMove(ssLeft, 20, 5);
    EXPECT_EQ(title.Top(), 465);
    EXPECT_EQ(Form3->Edit21->Text(), "770");
    EXPECT_EQ(Form3->Edit23->Text(), "930");
    EXPECT_EQ(Form4->StatusBar1->Panels(1).Text(), "タイトル　画面(385, 465) 実寸(770, 930)");
    title.DispatchMouseUp(TMouseButton::mbLeft, ssLeft, 10, 10, true);
    EXPECT_EQ(Form4->ResizeControl->Control(), &title);

    // An image that is not selected is neither moved nor written.
    Form4->Image4->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 10, 10);
    Form4->Image4->DispatchMouseMove(ssLeft, 40, 40);
    EXPECT_EQ(Form3->Edit25->Text(), "");
}

TEST_F(TextPlacementViewTest, TitleIsCentredAboveTheBottomMarginByDefault)
{
    Form4->Edit4->SetText("卒業記念");
    const TImage& title = *Form4->Image3;
    EXPECT_EQ(Form4->ResizeControl->Control(), &title) << "a text change selects the title";
    EXPECT_EQ(title.Left() + title.Width() / 2, 375);
    EXPECT_EQ(title.Top(), (1051 - 129 * 2 / 4) / 2);
    EXPECT_FALSE(title.Transparent());
    EXPECT_TRUE(Form3->Modified);

    Form3->Edit21->SetText("300");
    Form3->Edit23->SetText("100");
    Form4->RenderTitlePreview();
    EXPECT_EQ(title.Left() + title.Width() / 2, 150);
    EXPECT_EQ(title.Top(), 50);

    // An empty title draws as "[　　]".
    Form4->Edit4->SetText("[　　]");
    TBitmap placeholder;
    placeholder.Assign(Form4->Image3->Picture());
    Form4->Edit4->SetText("");
    EXPECT_TRUE(SameBitmap(Form4->Image3->Picture(), placeholder));
}

TEST_F(TextPlacementViewTest, FrameWidthThatIsNoneOrZero)
{
    // Empty: drawn as for a 2000-pixel frame, and not placed.
    Form3->Edit2->SetText("");
    TImage& title = *Form4->Image3;
    title.SetBounds(11, 22, title.Width(), title.Height());
    Form4->Edit4->SetText("卒業記念");
    EXPECT_EQ(title.Left(), 11);
    EXPECT_EQ(title.Top(), 22);
    const int width2000 = title.Width();
    Form3->Edit2->SetText("1000");
    Form4->RenderTitlePreview();
    EXPECT_NEAR(title.Width(), 2 * width2000, 1) << "half the frame, twice the size";

    Form3->Edit2->SetText("0");
    const int before = title.Width();
    dialogs->Message("フレームサイズが０です。(タイトルプレビュー[作成])", IDOK, "");
    Form4->RenderTitlePreview();
    EXPECT_EQ(title.Width(), before);
}

TEST_F(TextPlacementViewTest, AnglesFontsAndLineSpacing)
{
    TImage& title = *Form4->Image3;
    Form4->Edit4->SetText("卒業記念");
    const int flat = title.Height();
    Form4->Edit2->SetText("90");
    Form4->Edit2->UserKeyUp('A', 0);
    EXPECT_EQ(title.Height(), flat) << "only Enter applies a typed angle";
    Form4->Edit2->UserKeyUp(13, 0);
    EXPECT_GT(title.Height(), flat);

    Form4->Edit22->Font().SetColor(clRed);
    dialogs->Font([](TFont& font) {
        font.SetName("ＭＳ 明朝");
        return true;
    });
    Form4->Button5->Click();
    EXPECT_EQ(Form4->Edit22->Font().Name(), "ＭＳ 明朝");
    EXPECT_EQ(Form4->Edit22->Font().Color(), clRed);
    dialogs->Font([](TFont&) { return false; });
    Form4->Button2->Click();
    EXPECT_EQ(Form4->ResizeControl->Control(), Form4->Image5) << "cancelled: the other text is selected all the same";

    Form3->Modified = false;
    Form4->TrackBar5->SetPosition(50);
    EXPECT_EQ(Form4->ResizeControl->Control(), nullptr);
    EXPECT_TRUE(Form3->Modified);
}

TEST_F(TextPlacementViewTest, OpeningPlacesTheTexts)
{
    Form3->Edit2->SetText("");
    const std::pair<TEdit*, const char*> values[] = {
        {Form3->Edit2, "1500"}, {Form3->Edit4, "1051"},  {Form3->Edit12, "1430"}, {Form3->Edit14, "887"},
        {Form3->Edit10, "35"},  {Form3->Edit6, "35"},    {Form3->Edit16, "35"},   {Form3->Edit8, "129"},
        {Form3->Edit21, "750"}, {Form3->Edit23, "940"},  {Form3->Edit25, "1255"}, {Form3->Edit26, "957"},
        {Form3->Edit31, "950"},
    };
    for (const auto& [edit, text] : values)
        edit->SetText(text);
    dialogs->Modal([](TForm& form) {
        EXPECT_EQ(form.Caption(), "文字列設定");
        EXPECT_EQ(Form4->ResizeControl->Control(), nullptr) << "nothing selected at first";
        // The preview scroll box is 900 x 500 inside: 880 x 480 available.
        TImage& frame = *Form4->Image1;
        EXPECT_EQ(frame.Width(), 1500 * 480 / 1051);
        EXPECT_EQ(frame.Height(), 480);
        EXPECT_EQ(frame.Picture().Pixel(frame.Width() / 2, frame.Height() / 2), clBlack);
        EXPECT_EQ(frame.Picture().Pixel(frame.Width() / 2, frame.Height() - 2), clWhite);
        const double s = frame.Width() / 1500.0;
        const TImage& date = *Form4->Image4;
        EXPECT_EQ(date.Left(), static_cast<int>(1255 * s) - date.Width() / 2);
        EXPECT_EQ(date.Top(), static_cast<int>(957 * s));
        // No X for the other text: its right edge 20 pixels left of the title.
        const TImage& title = *Form4->Image3;
        const TImage& other = *Form4->Image5;
        EXPECT_EQ(other.Left() + other.Width(), title.Left() - 20);
        EXPECT_EQ(other.Top(), static_cast<int>(950 * s));
        EXPECT_EQ(Form3->Edit30->Text(), "") << "nothing is written for it";
        Form4->BitBtn14->Click();
    });
    Form3->BitBtn6->Click();
    EXPECT_TRUE(dialogs->AllUsed());
}

TEST_F(TextPlacementViewTest, MultiLineInputStoresTheJoinedText)
{
    Form4->Edit9->SetText("令和8年\\n3月");
    Form4->Edit10->Font().SetName("ＭＳ 明朝");
    dialogs->Modal([](TForm& form) {
        EXPECT_EQ(form.Caption(), "複数文字列入力");
        EXPECT_EQ(Form5->Memo1->Lines().Lines(), (std::vector<std::string>{"令和8年", "3月"}));
        EXPECT_EQ(Form5->Memo1->Font().Name(), "ＭＳ 明朝");
        Form5->Memo1->Lines().Assign({"令和8年", "", "3月15日"});
        form.SetModalResult(IDOK);
    });
    Form3->Modified = false;
    Form4->BitBtn2->Click();
    EXPECT_EQ(Form4->Edit9->Text(), "令和8年\\n\\n3月15日");
    EXPECT_EQ(Form4->ResizeControl->Control(), Form4->Image4);
    EXPECT_TRUE(Form3->Modified);
}

TEST_F(TextPlacementViewTest, ThinStrokesOfTheTitleShowAtTheFrameScale)
{
    // A 3000-pixel frame in the 750-pixel picture: a quarter of the size.
    Form3->Edit2->SetText("3000");
    dialogs->Font([](TFont& font) {
        font.SetName("ＭＳ 明朝");
        return true;
    });
    Form4->Button5->Click();
    Form4->Edit4->UserEdited("三");
    const TBitmap& title = Form4->Image3->Picture();
    ASSERT_GT(title.Width(), 0);
    EXPECT_EQ(RunsDown(title, title.Width() / 2, clWhite), 3);
    EXPECT_EQ(CountPixels(title, [](TColor c) { return c == clWhite || c == clBlack; }),
              title.Width() * title.Height());
}

namespace {

// The title image of the text placement window is held within its preview
// area, as large as the area lets the title's aspect be, with the title in
// it: a frame a few pixels wide scales the title by hundreds.
void ExpectTitleHeldWithinThePreview(const char* what)
{
    const TImage& title = *Form4->Image3;
    const PictureSize area = Form4->PreviewAreaSize();
    EXPECT_LE(title.Width(), area.width) << what;
    EXPECT_LE(title.Height(), area.height) << what;
    EXPECT_TRUE(title.Width() == area.width || title.Height() == area.height)
        << what << ": " << title.Width() << " x " << title.Height() << " in " << area.width << " x " << area.height;
    ASSERT_TRUE(title.HasPicture()) << what;
    TBitmap& picture = const_cast<TImage&>(title).Picture();
    EXPECT_EQ(picture.Width(), title.Width()) << what;
    EXPECT_EQ(picture.Height(), title.Height()) << what;
    EXPECT_GT(CountPixels(picture, [](TColor c) { return c != clWhite; }), 0) << what;
}

}  // namespace

TEST_F(TextPlacementFormTest, TitleOfATinyFrameLoadedAtTheStartIsHeldWithinThePreview)
{
    for (const int side : {10, 1}) {
        ForceDirectories(folder.File("Frame"));
        const std::string n = std::to_string(side);
        WriteFileBytes(folder.File("Frame/frame001.ini"),
                       *ToCp932("[Frame]\r\nPhotoFile=frame001.bmp\r\nFramewidth=" + n + "\r\nFrameheight=" + n +
                                "\r\nPhotowidth=" + n + "\r\nPhotoheight=" + n +
                                "\r\nLeftwidth=0\r\nRightwidth=0\r\nTopheight=0\r\nBottomheight=0\r\n"
                                "[Title]\r\nText=卒業記念\r\n"));
        WriteFileBytes(folder.File("Frame/frame001.bmp"), "bmp");
        ShowStartWindows(TStartMode::FrameSettings);
        ASSERT_EQ(Form3->Edit2->Text(), n) << "the file is loaded at the show";
        ExpectTitleHeldWithinThePreview(n.c_str());
        Restart();
    }
}

TEST_F(TextPlacementFormTest, TitleRedrawnForATypedFrameWidthIsHeldWithinThePreview)
{
    ShowMainWindowWithKnownPreview();
    Form3->Show();
    Form3->Edit2->SetText("1500");
    // A "1" left in the field: the rest deleted key by key.
    SendKey(*Form3->Edit2, Qt::Key_End);
    for (int i = 0; i < 3; ++i)
        SendKey(*Form3->Edit2, Qt::Key_Backspace);
    ASSERT_EQ(Form3->Edit2->Text(), "1");
    // The quick text dialog with its live preview applies each typed key.
    Form7->CheckBox1->SetChecked(true);
    TypeKeys(*Form7->Edit4, "卒業");
    ASSERT_EQ(Form4->FrameText(TFrameTextKind::Title).Text, Form7->Edit4->Text());
    ExpectTitleHeldWithinThePreview("1");

    TypeKeys(*Form3->Edit2, "0");
    ASSERT_EQ(Form3->Edit2->Text(), "10");
    TypeKeys(*Form7->Edit4, "式");
    ExpectTitleHeldWithinThePreview("10");
}

namespace {

// The real font dialog of the text placement window, answered with a key
// once it is up (after choose, when given, has made a choice in it);
// returns the font it showed first.
QFont AnswerFontDialog(TButton& fontButton, int qtKey, const std::function<void(QFontDialog&)>& choose = {})
{
    Application->SetDialogDriver(std::make_shared<QtDialogDriver>());
    QFont shown;
    QTimer::singleShot(0, [&] {
        QFontDialog* dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            return dialog && dialog->isVisible();
        })) << "no font dialog";
        shown = dialog->currentFont();
        if (choose)
            choose(*dialog);
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog, &release);
    });
    fontButton.Click();
    return shown;
}

}  // namespace

TEST_F(TextPlacementViewTest, TheFontDialogOpensOnTheTextsFontAndChangesOnlyWhatIsChosen)
{
    TFont& title = Form4->Edit22->Font();
    title.SetName("ＭＳ 明朝");
    title.SetHeight(-40);
    title.SetStyle(fsBold);
    const LOGFONT before = title.Handle();
    Form3->Modified = false;

    const QFont shown = AnswerFontDialog(*Form4->Button5, Qt::Key_Escape);
    EXPECT_EQ(shown.family().toStdString(), "IPAMincho");
    EXPECT_EQ(shown.pointSize(), 30);
    EXPECT_FALSE(Form3->Modified) << "a cancelled dialog marked the settings changed";

    AnswerFontDialog(*Form4->Button5, Qt::Key_Return);
    // The IPA fonts have no bold of their own to show: the bold is kept.
    EXPECT_TRUE(title.Handle() == before) << "OK without a choice changed the font to " << title.Name();
    EXPECT_FALSE(Form3->Modified);

    AnswerFontDialog(*Form4->Button5, Qt::Key_Return, [](QFontDialog& dialog) {
        QFont larger = dialog.currentFont();
        larger.setPointSize(36);
        dialog.setCurrentFont(larger);
    });
    EXPECT_EQ(title.Name(), "ＭＳ 明朝");
    EXPECT_EQ(title.Size(), 36);
    EXPECT_EQ(title.Style(), unsigned{fsBold});
    EXPECT_TRUE(Form3->Modified);
    Application->SetDialogDriver(dialogs);
}
