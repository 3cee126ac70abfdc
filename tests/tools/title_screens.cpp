// Opens the main window with no photo for a look at the title and date on the
// preview: for a Mincho and a Gothic title in two layouts it chooses the
// layout in the layout box, types the date into the text placement window's
// field, sets the title font and text in the quick text dialog and presses
// プレビュー更新, as the operator does, and saves the main
// window as <font>_layout<n>.png in OUT_DIR, with the text images enlarged
// four times (each pixel a 4 x 4 block) beside it as <font>_layout<n>_x4.png.
// Run it in an X session with a window manager (Xvfb and openbox, as
// scripts/window-tests.sh starts them), so the window has its real frame.
// Usage: title_screens OUT_DIR
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

#include "dialogs/quick_text_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"

namespace {

struct Shot {
    const char* name;
    const char* font;
    int layout;
};

const Shot kShots[] = {{"mincho", "ＭＳ 明朝", 0}, {"mincho", "ＭＳ 明朝", 5},
                       {"gothic", "ＭＳ ゴシック", 0}, {"gothic", "ＭＳ ゴシック", 5}};

void SetTitle(const Shot& shot)
{
    Form1->ComboBox1->SetItemIndex(shot.layout);
    Form1->ComboBox1->UserChose(shot.layout);
    Form4->Edit9->UserEdited("２０２４年３月１日");
    Form7->MirrorTexts(Form4->FrameText(TFrameTextKind::Title).Text, Form4->FrameText(TFrameTextKind::Date).Text,
                       Form4->FrameText(TFrameTextKind::Other).Text);
    Form7->Show();
    Form7->ComboBox1->UserEdited(shot.font);
    Form7->Edit4->UserEdited("卒業記念　二〇二四　三年");
    Form7->BitBtn4->Click();
    Form7->Hide();
}

// The window, and below it its title and date images enlarged.
bool Save(const Shot& shot, const QString& out)
{
    const QString stem = out + "/" + shot.name + "_layout" + QString::number(shot.layout);
    const QImage window = Form1->Widget()->grab().toImage();
    if (!window.save(stem + ".png"))
        return false;
    std::vector<QImage> parts;
    for (TImage* image : {Form1->Image3, Form1->Image4}) {
        const QPoint at = image->Widget()->mapTo(Form1->Widget(), QPoint(0, 0));
        const QImage part = window.copy(at.x() - 4, at.y() - 4, image->Width() + 8, image->Height() + 8);
        parts.push_back(part.scaled(part.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    QImage enlarged(std::max(parts[0].width(), parts[1].width()), parts[0].height() + parts[1].height() + 8,
                    QImage::Format_RGB32);
    enlarged.fill(Qt::darkGray);
    QPainter painter(&enlarged);
    painter.drawImage(0, 0, parts[0]);
    painter.drawImage(0, parts[0].height() + 8, parts[1]);
    painter.end();
    return enlarged.save(stem + "_x4.png");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    if (!CreateApplicationForms())
        return 1;
    Form1->ProgramFolder = std::string(argv[1]) + "/";
    Form1->Show();
    int status = 0;
    std::size_t next = 0;
    // Each shot is taken once the window has painted its new preview.
    std::function<void()> step = [&] {
        if (next > 0 && !Save(kShots[next - 1], out))
            status = 3;
        if (next == std::size(kShots)) {
            Form1->Close();
            return;
        }
        SetTitle(kShots[next++]);
        QTimer::singleShot(700, step);
    };
    QTimer::singleShot(1000, step);
    Application->Run();
    DestroyApplicationForms();
    Application->Shutdown();
    return status;
}
