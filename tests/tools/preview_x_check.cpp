// Drives the real program in a real X session with real pointer and key
// events from xdotool, as an operator would: the pointer over the preview
// must show its position and colour in the status bar; a click on the title
// opens the quick text dialog, where a Japanese title is typed and "閉じる"
// pressed; the new title must then be on the preview, survive a drag in move
// mode (its button shown for this check only), and be in the JPEG that
// "１枚実行" saves. Run it under Xvfb with a window manager
// (run_under_x.sh). Every wait is bounded; the exit status is 0 when every
// check held. Usage: preview_x_check [folder for screenshots]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "dialogs/quick_text_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "pipeline/preview_drag.h"
#include "platform/application.h"
#include "platform/jpeg_codec.h"
#include "platform/text_format.h"
#include "tests/tools/x_session.h"

namespace {

const std::string kNewTitle = "卒業記念　二〇二四";
std::string ShotFolder;

// Gives every character of text beyond Latin-1 a key of its own for the
// rest of the session. Otherwise xdotool binds such a character to a spare
// key for the one press and takes the binding back at once, and the program
// sometimes reads the press after that, losing the character.
void BindCharacters(const QString& text)
{
    QStringList freeKeys;
    for (const QString& line : QString::fromStdString(RunTool("xmodmap", {"-pke"})).split('\n')) {
        const QStringList words = line.simplified().split(' ');
        if (words.size() == 3 && words[0] == "keycode" && words[2] == "=" && words[1].toInt() > 8)
            freeKeys << words[1];
    }
    QStringList expressions;
    QString bound;
    for (const QChar ch : text) {
        if (ch.unicode() < 0x100 || bound.contains(ch))
            continue;
        Check(!freeKeys.isEmpty(), "a free key for every character");
        const QString keysym = QString("U%1").arg(ch.unicode(), 4, 16, QChar('0')).toUpper();
        expressions << "-e" << QString("keycode %1 = %2 %2").arg(freeKeys.takeFirst(), keysym);
        bound += ch;
    }
    if (!expressions.isEmpty())
        RunTool("xmodmap", expressions);
}

// The pointer to (x, y) of control.
void PointAt(const TControl& control, int x, int y)
{
    const TPoint p = control.ClientToScreen({x, y});
    Xdo({"mousemove", "--sync", QString::number(p.x), QString::number(p.y)});
}

void ClickOn(const TControl& control)
{
    PointAt(control, control.Width() / 2, control.Height() / 2);
    Xdo({"click", "1"});
}

// The window is on the screen where the window manager put it.
bool Shown(const TForm& form)
{
    const QWidget* window = form.Widget();
    return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed() &&
           window->isActiveWindow();
}

void Screenshot(const std::string& name)
{
    if (ShotFolder.empty())
        return;
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    screen.save(QString::fromStdString(ShotFolder + "/" + name));
}

bool SamePicture(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

void WritePhoto(const std::string& path)
{
    TBitmap photo;
    photo.SetSize(1200, 900);
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 1200; ++x)
            photo.SetPixel(x, y, RGB(x * 255 / 1199, y * 255 / 899, (x / 100 + y / 100) % 2 ? 200 : 60));
    Check(EncodeJpegFile(photo, path, 90) == JpegResult::Ok, "writing " + path);
}

// The pointer over the preview: its place and the photo's colour there.
void CheckReadOut()
{
    const TPoint at{120, 90};
    const TColor c = Form1->Image1->PicturePixel(at.x, at.y);
    const std::string expected = Format("XY(%d,%d) RGB(%3d,%3d, %3d)", at.x, at.y, GetRValue(c), GetGValue(c),
                                        GetBValue(c));
    PointAt(*Form1->Image1, at.x, at.y);
    Check(WaitFor([&] { return Form1->StatusBar1->Panels(2).Text() == expected; }, 10000),
          "status shows " + expected + ", not " + Form1->StatusBar1->Panels(2).Text());
}

// Types text into edit one character at a time, each on its own key. The
// program takes up a new keyboard map when it next reads one, so a key
// pressed before may give nothing: such a character is typed again (at most
// three times); any other text fails.
void TypeText(const TEdit& edit, const std::string& text)
{
    std::string expected = edit.Text();
    for (const QChar& ch : QString::fromStdString(text)) {
        const std::string typed = QString(ch).toStdString();
        const std::string without = expected;
        expected += typed;
        for (int attempt = 0; attempt < 3 && edit.Text() != expected; ++attempt) {
            Check(edit.Text() == without, "typing gave " + edit.Text());
            Xdo({"type", QString(ch)});
            if (WaitFor([&] { return edit.Text() == expected; }, 2000))
                break;
            std::fprintf(stderr, "preview_x_check: typing %s again\n", typed.c_str());
        }
        Check(edit.Text() == expected, "the typed title arrives, not " + edit.Text());
    }
}

// Inside the modal quick text dialog: type the title, press "閉じる".
void TypeTitle()
{
    Check(WaitFor([] { return Shown(*Form7); }, 10000), "the quick text dialog appears");
    ClickOn(*Form7->Edit4);
    Check(WaitFor([] { return Form7->Edit4->Widget()->hasFocus(); }, 5000), "the title field takes the focus");
    BindCharacters(QString::fromStdString(kNewTitle));
    Xdo({"key", "--clearmodifiers", "ctrl+a", "BackSpace"});
    Check(WaitFor([] { return Form7->Edit4->Text().empty(); }, 5000), "the old title is deleted");
    TypeText(*Form7->Edit4, kNewTitle);
    Screenshot("quick_text_dialog.png");
    ClickOn(*Form7->BitBtn14);
}

void CheckTitleClick()
{
    bool typed = false;
    std::string failure;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!Form7->Visible())
            return;
        watch.stop();
        try {
            TypeTitle();
            typed = true;
        } catch (const CheckFailed& failed) {
            failure = failed.what;
            Form7->Close();
        }
    });
    watch.start();
    ClickOn(*Form1->Image3);
    Check(WaitFor([&] { return (typed || !failure.empty()) && !Form7->Visible(); }, 60000),
          "the dialog opens and closes");
    Check(failure.empty(), failure);
    Check(Form4->FrameText(TFrameTextKind::Title).Text == kNewTitle, "the title is stored");

    // The preview's title image shows the new title as the preview draws it.
    TImage probe(Form1->ScrollBox1);
    probe.SetVisible(false);
    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    Form1->DrawTextPreview(probe, title.Font, kNewTitle, title.Angle);
    Check(SamePicture(probe.Picture(), Form1->Image3->Picture()), "the preview shows the new title");
}

// A drag in move mode shifts the photo by the frame pixels of the movement.
void CheckMoveDrag()
{
    ClickOn(*Form1->CheckBox7);
    Check(WaitFor([] { return Form1->Panel1->Visible() && !Form1->Busy; }, 10000), "the correction panel opens");
    // The design hides the mode button; this check shows it, below the
    // panel's other controls.
    Form1->SpeedButton9->SetBounds(8, 508, 100, 26);
    Form1->SpeedButton9->SetVisible(true);
    Form1->SpeedButton9->SetEnabled(true);
    ClickOn(*Form1->SpeedButton9);
    Check(WaitFor([] { return Form1->SpeedButton9->Down(); }, 5000), "the move mode is on");

    const TPoint from{200, 150};
    PointAt(*Form1->Image1, from.x, from.y);
    Xdo({"mousedown", "1"});
    Check(WaitFor([] { return Form1->Dragging; }, 5000), "the drag starts");
    PointAt(*Form1->Image1, from.x + 40, from.y);
    const int expected =
        static_cast<int>(-MoveDragDistance(40, Form1->FrameLayout.Framewidth, Form1->Image1->Width(), 1.0f));
    Check(WaitFor([&] { return Form1->PhotoOffsetX == expected && !Form1->Busy; }, 10000),
          Format("the photo moves by %d, not %d", expected, Form1->PhotoOffsetX));
    Screenshot("move_drag.png");
    Xdo({"mouseup", "1"});
    Check(WaitFor([] { return !Form1->Dragging && !Form1->Busy; }, 10000), "the drag ends");
    Check(Form1->Edit5->Text() == Format("%d", expected), "the X offset edit follows");
}

// The single run saves the photo with the new title where the preview shows it.
void CheckSavedTitle(const std::string& saved)
{
    ClickOn(*Form1->BitBtn3);
    Check(WaitFor([&] { return std::filesystem::exists(saved) && Form1->PhotoIndex == 1 && !Form1->Busy; }, 60000),
          "the single run saves " + saved);

    TBitmap picture;
    Check(DecodeJpegFile(saved, picture) == JpegResult::Ok, "the saved picture reads back");
    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    // Where each title would put ink, on a white frame, at the place the
    // title image on the preview gives it.
    auto inkOf = [&](const std::string& text) {
        auto layer = std::make_unique<TBitmap>();
        layer->SetSize(picture.Width(), picture.Height());
        layer->Fill(clWhite);
        TFrameText drawn = title;
        drawn.Text = text;
        const TPoint at = Form1->TextOutputPlace(TFrameTextKind::Title, drawn);
        Form1->DrawTextBlock(at.x, at.y, *layer, title.Font, text, title.Angle);
        return layer;
    };
    const auto fresh = inkOf(kNewTitle);
    const auto old = inkOf("[タイトル文字列]");
    int freshInk = 0, freshDark = 0, oldInk = 0, oldDark = 0;
    for (int py = 0; py < picture.Height(); ++py)
        for (int px = 0; px < picture.Width(); ++px) {
            const TColor c = picture.Pixel(px, py);
            const bool dark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
            if (fresh->Pixel(px, py) == clBlack) {
                ++freshInk;
                freshDark += dark;
            } else if (old->Pixel(px, py) == clBlack) {
                ++oldInk;
                oldDark += dark;
            }
        }
    Check(freshInk > 500 && freshDark * 10 >= freshInk * 9,
          Format("the new title's %d ink pixels are dark in the JPEG (%d are)", freshInk, freshDark));
    Check(oldInk > 500 && oldDark * 10 <= oldInk,
          Format("the old title's %d ink pixels stay light (%d are dark)", oldInk, oldDark));
}

int Run(const std::string& work)
{
    const std::string photos = work + "/photos";
    std::filesystem::create_directories(photos);
    WritePhoto(photos + "/a.jpg");
    WritePhoto(photos + "/b.jpg");
    if (!CreateApplicationForms())
        return 1;
    Form1->ProgramFolder = work + "/";
    Form1->Show();
    Check(WaitFor([] { return Shown(*Form1); }, 15000), "the main window appears");
    // The photo list as a drop sets it up; the checks start from there.
    Form1->WMDropFiles({photos}, true);
    Check(WaitFor([] { return Form1->Memo2->Lines().Count() == 2 && !Form1->Busy; }, 15000), "the photos load");

    CheckReadOut();
    CheckTitleClick();
    CheckMoveDrag();
    CheckSavedTitle(work + "/TAphotos/a.jpg");
    Form1->Close();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        ShotFolder = argv[1];
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    char pattern[] = "/tmp/plovis-x-XXXXXX";
    if (!mkdtemp(pattern))
        return 2;
    const std::string work = pattern;
    int status = 1;
    try {
        status = Run(work);
        if (status == 0)
            std::puts("preview_x_check: every check held");
        std::fflush(stdout);
    } catch (const CheckFailed& failed) {
        std::fprintf(stderr, "preview_x_check: failed: %s\n", failed.what.c_str());
        Screenshot("failure.png");
    }
    DestroyApplicationForms();
    Application->Shutdown();
    std::filesystem::remove_all(work);
    return status;
}
