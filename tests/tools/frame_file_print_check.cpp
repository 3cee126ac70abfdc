// Prints the texts of a hand-written frame file through the real program, as
// an operator would, and looks at the print. It writes the file in UTF-8 (a
// red bold "ＭＳ 明朝" title turned 5 degrees to the right, a green date and a
// blue other text too long for its place at the left, in the geometry of the
// L-size layout with a white band), starts PROGRAM --frame-settings from a
// fresh program folder, loads the file with "読み込み", closes the editor
// answering はい to its question, drags the photo folder from a window of
// this tool onto the main window (a drop between programs), presses
// "１枚実行" and checks the saved picture: each text's ink whole inside the
// white band and in its colour, the title slanted, the other text printed
// whole from the left. Clicks are the pointer's and answers the keyboard's,
// through xdotool; where a button lies is asked of the program's own windows,
// built here and never shown. Saves the main window with its preview and the
// saved picture as PNGs in SHOTS and prints where each text's ink lies.
// Usage: frame_file_print_check PROGRAM PHOTOS SHOTS (under an X session
// with a window manager, as scripts/window-tests.sh runs it)
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <QApplication>
#include <QDrag>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include "frame_editor/frame_settings_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "platform/text_format.h"
#include "tests/tools/x_session.h"

namespace {

namespace fs = std::filesystem;

// The white band of the layout: the photo area above it, 1500 x 922.
constexpr int kBandTop = 922;
// The other text's size: 30 points are 40 pixels, the width of each of its
// 18 full-width characters.
constexpr int kOtherEm = 40;
constexpr int kOtherCharacters = 18;

constexpr char kFrameFile[] = R"([Frame]
PhotoFile=frame001.bmp
Framewidth=1500
Frameheight=1051
Photowidth=1500
Photoheight=922
Leftwidth=0
Rightwidth=0
Topheight=0
Bottomheight=129
FontPositionX=750
FontPositionY=950
DatePositionX=1255
DatePositionY=957
OtherPositionX=120
OtherPositionY=950
ReferencePosition=1
[Title]
Charset=128
Name=ＭＳ 明朝
Size=36
Style=B
Color=255
Text=卒業記念
Angle=-5
[Date]
Charset=128
Name=ＭＳ ゴシック
Size=30
Style=
Color=32768
Text=2026年12月9日
Angle=0
[Other]
Charset=128
Name=ＭＳ ゴシック
Size=30
Style=
Color=16711680
Text=さくら学園　写真部　令和八年度卒業生
Angle=0
[Config]
Bar5=10
)";

std::string ShotFolder;

void Screenshot(const std::string& name, const QRect& area = {})
{
    QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!area.isNull())
        screen = screen.copy(area);
    screen.save(QString::fromStdString(ShotFolder + "/" + name), "PNG");
}

// The running program's windows, as the window system has them.
class LiveProgram {
public:
    explicit LiveProgram(qint64 pid) : pid_(pid) {}

    // The program's windows on the screen.
    std::set<QString> Windows() const
    {
        const QString out = QString::fromStdString(
            RunTool("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid_)}, true));
        std::set<QString> ids;
        for (const QString& id : out.split('\n', Qt::SkipEmptyParts))
            ids.insert(id);
        return ids;
    }

    static QString Name(const QString& id)
    {
        return QString::fromStdString(RunTool("xdotool", {"getwindowname", id}, true)).trimmed();
    }

    // The window named name, waited for at most ten seconds.
    QString Find(const QString& name) const
    {
        QString found;
        WaitFor(
            [&] {
                for (const QString& id : Windows())
                    if (Name(id) == name)
                        found = id;
                return !found.isEmpty();
            },
            10000);
        Check(!found.isEmpty(), "a window \"" + name.toStdString() + "\" of the program");
        return found;
    }

    // A window that is not one of known, waited for at most timeoutMs.
    QString NewWindow(const std::set<QString>& known, int timeoutMs) const
    {
        QString found;
        WaitFor(
            [&] {
                for (const QString& id : Windows())
                    if (!known.count(id))
                        found = id;
                return !found.isEmpty();
            },
            timeoutMs);
        return found;
    }

    // Where the window's inside lies on the screen, once the window
    // manager has stopped moving it.
    static QRect Place(const QString& id)
    {
        QRect before;
        QRect now = readPlace(id);
        Check(WaitFor(
                  [&] {
                      before = now;
                      WaitFor([] { return false; }, 300);
                      now = readPlace(id);
                      return now == before && now.width() > 0;
                  },
                  10000),
              "the window " + id.toStdString() + " holds still");
        return now;
    }

    // The program asks through a box: it is answered with a key (Return
    // takes the default button, はい on a question), and must go.
    void Answer(const QString& box, const std::string& shot) const
    {
        Place(box);
        Screenshot(shot);
        Xdo({"windowactivate", "--sync", box});
        Xdo({"key", "--clearmodifiers", "Return"});
        Check(WaitFor([&] { return !Windows().count(box); }, 10000), "the box " + shot + " goes");
    }

private:
    // xwininfo's absolute place: xdotool's own counts the window manager's
    // frame into it once more.
    static QRect readPlace(const QString& id)
    {
        QRect place;
        for (const QString& line : QString::fromStdString(RunTool("xwininfo", {"-id", id}, true)).split('\n')) {
            const QString value = line.section(':', 1).trimmed();
            if (line.contains("Absolute upper-left X:"))
                place.moveLeft(value.toInt());
            else if (line.contains("Absolute upper-left Y:"))
                place.moveTop(value.toInt());
            else if (line.contains("Width:"))
                place.setWidth(value.toInt());
            else if (line.contains("Height:"))
                place.setHeight(value.toInt());
        }
        return place;
    }

    qint64 pid_;
};

// What the screen shows in area once it has stayed the same for half a
// second (at most fifteen seconds).
QImage StillPicture(const QRect& area)
{
    QImage shown;
    WaitFor(
        [&] {
            const QImage now = QGuiApplication::primaryScreen()->grabWindow(0).copy(area).toImage();
            const bool still = now == shown;
            shown = now;
            WaitFor([] { return false; }, 500);
            return still;
        },
        15000);
    return shown;
}

// A click of the pointer on the middle of control, a control of the
// program's own windows built here: it lies at the same place of the live
// window whose inside is at window.
void ClickOn(const TControl& control, const QRect& window)
{
    const QPoint inside =
        control.Widget()->mapTo(control.Widget()->window(), QPoint(control.Width() / 2, control.Height() / 2));
    Xdo({"mousemove", "--sync", QString::number(window.x() + inside.x()), QString::number(window.y() + inside.y())});
    Xdo({"click", "1"});
}

// A window of this tool from which a folder is dragged, as from a file
// manager.
class FolderSource : public QLabel {
public:
    explicit FolderSource(const QString& folder) : QLabel(folder), folder_(folder)
    {
        setWindowTitle("写真フォルダ");
        setMinimumSize(240, 80);
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(folder_)});
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QString folder_;
};

// Drags the folder from the tool's window onto the middle of target on the
// screen, with the pointer, in steps as a hand moves it.
void DropFolder(const QString& folder, const QPoint& target)
{
    FolderSource source(folder);
    source.move(40, 40);
    source.show();
    Check(WaitFor([&] { return source.windowHandle() && source.windowHandle()->isExposed(); }, 10000),
          "the folder window shows");
    const QRect from = LiveProgram::Place(QString::number(source.winId()));
    const QPoint start = from.center();
    QStringList moves{"mousemove", "--sync", QString::number(start.x()), QString::number(start.y()),
                      "mousedown", "1"};
    for (int step = 1; step <= 8; ++step) {
        const QPoint at = start + (target - start) * step / 8;
        moves << "sleep" << "0.1" << "mousemove" << QString::number(at.x()) << QString::number(at.y());
    }
    moves << "sleep" << "0.3" << "mouseup" << "1";
    // The drag runs in this tool's event loop while xdotool moves the
    // pointer, so xdotool runs beside it rather than to its end first.
    QProcess hand;
    hand.start("xdotool", moves);
    Check(WaitFor([&] { return hand.state() == QProcess::NotRunning; }, 15000) && hand.exitCode() == 0,
          "the pointer drags the folder");
}

// The ink of one colour in the white band of the saved picture.
struct Ink {
    int count = 0;
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    double sumR = 0, sumG = 0, sumB = 0;
    double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;

    void Add(int x, int y, int r, int g, int b)
    {
        ++count;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        sumR += r, sumG += g, sumB += b;
        sumX += x, sumY += y, sumXX += double(x) * x, sumXY += double(x) * y;
    }
    // The slope of the line through the ink, down to the right positive.
    double Slope() const { return (count * sumXY - sumX * sumY) / (count * sumXX - sumX * sumX); }
    std::string Describe(const char* name) const
    {
        return Format("%s: %d ink pixels, x %d..%d, y %d..%d, mean colour (%d, %d, %d), slope %.3f", name, count,
                      left, right, top, bottom, int(sumR / count), int(sumG / count), int(sumB / count), Slope());
    }
};

void CheckPrint(const std::string& saved)
{
    TBitmap picture;
    Check(DecodeJpegFile(saved, picture) == JpegResult::Ok, "the saved picture reads back");
    Check(picture.Width() == 1500 && picture.Height() == 1051, "the picture has the layout's size");
    Ink red, green, blue;
    int stray = 0;
    for (int y = kBandTop; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x) {
            const int b = row[x * 3], g = row[x * 3 + 1], r = row[x * 3 + 2];
            if (r > 160 && g < 100 && b < 100)
                red.Add(x, y, r, g, b);
            else if (g > 70 && r < 80 && b < 80)
                green.Add(x, y, r, g, b);
            else if (b > 160 && r < 100 && g < 100)
                blue.Add(x, y, r, g, b);
            else if (r + g + b < 300)
                ++stray;
        }
    }
    std::printf("%s\n%s\n%s\n", red.Describe("title (red)").c_str(), green.Describe("date (green)").c_str(),
                blue.Describe("other text (blue)").c_str());
    std::printf("dark pixels of no text's colour in the band: %d\n", stray);
    // Whole inside: no ink on the band's first row or on the picture's
    // edges, where a cut character would end.
    const auto whole = [&](const Ink& ink, const char* name) {
        Check(ink.count > 500, std::string(name) + " is printed in its colour");
        Check(ink.top > kBandTop && ink.bottom < picture.Height() - 1 && ink.left > 0 &&
                  ink.right < picture.Width() - 1,
              std::string(name) + " lies whole inside the band");
    };
    whole(red, "the title");
    whole(green, "the date");
    whole(blue, "the other text");
    Check(red.Slope() > 0.05 && red.Slope() < 0.13, Format("the title slants 5 degrees, not %.3f", red.Slope()));
    Check(std::abs(green.Slope()) < 0.03 && std::abs(blue.Slope()) < 0.03, "the date and the other text are level");
    Check(std::abs((red.left + red.right) / 2 - 750) < 20, "the title stands at its place, x = 750");
    Check(std::abs((green.left + green.right) / 2 - 1255) < 20, "the date stands at its place, x = 1255");
    Check(blue.left < kOtherEm && blue.right - blue.left > (kOtherCharacters - 1) * kOtherEm,
          "the other text starts at the left edge and is printed whole");
}

void SaveAsPng(const std::string& jpeg, const std::string& png)
{
    QImage image(QString::fromStdString(jpeg));
    image.save(QString::fromStdString(ShotFolder + "/" + png), "PNG");
}

int Run(const std::string& program, const std::string& photos)
{
    char pattern[] = "/tmp/plovis-print-XXXXXX";
    Check(mkdtemp(pattern) != nullptr, "a work folder");
    const fs::path work = pattern;
    const fs::path app = work / "app";
    fs::create_directories(app / "Frame");
    fs::copy_file(program, app / "plovis");
    // Beside the layout's frame image, which the start writes.
    const fs::path styled = app / "Frame" / "styled.ini";
    std::ofstream(styled) << kFrameFile;
    // The photos are copied beside the work, so that the proposed output
    // folder (TA + the folder's name) is made there.
    const fs::path folder = work / "photos";
    fs::copy(photos, folder);
    const fs::path saved = work / "TAphotos" / "photo1.jpg";

    QProcess plovis;
    plovis.setWorkingDirectory(QString::fromStdString(work.string()));
    plovis.start(QString::fromStdString((app / "plovis").string()), {"--frame-settings"});
    Check(plovis.waitForStarted(10000), "the program starts");
    const LiveProgram live(plovis.processId());
    int status = 1;
    try {
        const QString main = live.Find("Plovis");
        const QString editor = live.Find("フレーム設定");
        Check(fs::exists(app / "Frame" / "frame001.ini") && fs::exists(app / "Frame" / "frame001.bmp"),
              "the start writes Frame/frame001.ini and its frame image");

        // 読み込み: the open dialog, where the file's path is typed.
        ClickOn(*Form3->BitBtn3, LiveProgram::Place(editor));
        const QString open = live.Find("フレーム設定ファイルの読み込み");
        LiveProgram::Place(open);
        Xdo({"windowactivate", "--sync", open});
        Xdo({"type", "--delay", "20", QString::fromStdString(styled.string())});
        // Return may first take the completer's proposal; the dialog goes
        // with the next.
        for (int tries = 0; tries < 3 && live.Windows().count(open); ++tries) {
            Xdo({"key", "Return"});
            WaitFor([&] { return !live.Windows().count(open); }, 2000);
        }
        Check(!live.Windows().count(open), "the open dialog takes the typed file");
        Check(live.NewWindow({main, editor}, 1000).isEmpty(), "the file loads without a message");
        Screenshot("frame_settings_loaded.png", LiveProgram::Place(editor));

        // 閉じる, and はい to the question.
        ClickOn(*Form3->BitBtn11, LiveProgram::Place(editor));
        const QString question = live.NewWindow({main, editor}, 10000);
        Check(!question.isEmpty(), "closing the editor asks whether to apply the settings");
        live.Answer(question, "apply_question.png");
        Check(WaitFor([&] { return !live.Windows().count(editor); }, 10000), "the editor closes");

        const QRect window = LiveProgram::Place(main);
        const TControl& preview = *Form1->ScrollBox1;
        const QPoint previewMiddle =
            window.topLeft() + preview.Widget()->mapTo(preview.Widget()->window(), preview.Widget()->rect().center());
        const QImage before = StillPicture(window);
        DropFolder(QString::fromStdString(folder.string()), previewMiddle);
        Check(WaitFor([&] { return QGuiApplication::primaryScreen()->grabWindow(0).copy(window).toImage() != before; },
                      15000),
              "the dropped photos show");
        StillPicture(window);
        const QString afterDrop = live.NewWindow({main}, 1000);
        if (!afterDrop.isEmpty())
            Screenshot("drop_box.png");
        Check(afterDrop.isEmpty(),
              "the drop asks nothing (a box \"" + LiveProgram::Name(afterDrop).toStdString() + "\" came)");

        ClickOn(*Form1->BitBtn3, window);
        // Any box the run shows is answered, and named in the log.
        int boxes = 0;
        Check(WaitFor(
                  [&] {
                      const QString box = live.NewWindow({main}, 0);
                      if (!box.isEmpty()) {
                          std::printf("a box during the run: \"%s\"\n", LiveProgram::Name(box).toUtf8().constData());
                          live.Answer(box, Format("run_box_%d.png", ++boxes));
                      }
                      return fs::exists(saved);
                  },
                  60000),
              "１枚実行 saves " + saved.string());
        // The next photo is shown once the window is still again.
        StillPicture(window);
        Screenshot("main_window_printed.png", window);
        SaveAsPng(saved.string(), "printed_photo1.png");
        CheckPrint(saved.string());
        Check(boxes == 0, "the run asks nothing");

        // The window manager may hand the key to the window only once it has
        // activated it: asked again while the program runs on.
        for (int tries = 0; tries < 3 && plovis.state() != QProcess::NotRunning; ++tries) {
            Xdo({"windowactivate", "--sync", main});
            Xdo({"key", "--clearmodifiers", "alt+F4"});
            plovis.waitForFinished(5000);
        }
        if (plovis.state() != QProcess::NotRunning)
            Screenshot("close_failure.png");
        Check(plovis.state() == QProcess::NotRunning, "the program ends when its window is closed");
        status = 0;
    } catch (const CheckFailed&) {
        Screenshot("print_check_failure.png");
        plovis.kill();
        plovis.waitForFinished(5000);
        fs::remove_all(work);
        throw;
    }
    fs::remove_all(work);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: frame_file_print_check PROGRAM PHOTOS SHOTS\n");
        return 2;
    }
    ShotFolder = argv[3];
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    int status = 1;
    try {
        Check(CreateApplicationForms(), "the program's windows are built");
        status = Run(fs::absolute(argv[1]).string(), fs::absolute(argv[2]).string());
        std::puts("frame_file_print_check: every check held");
    } catch (const CheckFailed& failed) {
        std::fprintf(stderr, "frame_file_print_check: failed: %s\n", failed.what.c_str());
    }
    std::fflush(stdout);
    DestroyApplicationForms();
    Application->Shutdown();
    return status;
}
