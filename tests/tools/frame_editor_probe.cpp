// The program started as "plovis --frame-settings" starts, for the real-window
// test of the frame settings editor: on request it writes down what the test
// cannot see from outside, the texts of the title's place fields and where
// the controls it clicks and drags lie on screen. Usage: frame_editor_probe
// FOLDER; each file FOLDER/request is answered by FOLDER/answer, one line per
// item: "field NAME TEXT", "rect NAME LEFT TOP WIDTH HEIGHT" (screen) and
// "place NAME LEFT TOP WIDTH HEIGHT" (in its parent), "scroll ScrollBox1 H V",
// "visible NAME 0|1", and while a message box is open "box TEXT" with the
// rect of its default button as "BoxButton".
#include <cstdio>
#include <memory>
#include <string>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "controls/resize_control.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/program_start.h"
#include "platform/application.h"

namespace {

std::string Answer()
{
    std::string out;
    const auto field = [&](const char* name, const TEdit* edit) {
        out += std::string("field ") + name + " " + edit->Text() + "\n";
    };
    const auto rect = [&](const char* name, const TControl* control) {
        const TPoint p = control->ClientToScreen({0, 0});
        out += std::string("rect ") + name + " " + std::to_string(p.x) + " " + std::to_string(p.y) + " " +
               std::to_string(control->Width()) + " " + std::to_string(control->Height()) + "\n";
        out += std::string("place ") + name + " " + std::to_string(control->Left()) + " " +
               std::to_string(control->Top()) + " " + std::to_string(control->Width()) + " " +
               std::to_string(control->Height()) + "\n";
    };
    if (!Form3 || !Form4)
        return out;
    field("Edit2", Form3->Edit2);
    field("Edit19", Form3->Edit19);
    field("Edit20", Form3->Edit20);
    field("Edit21", Form3->Edit21);
    field("Edit23", Form3->Edit23);
    field("Edit17", Form3->Edit17);
    rect("BitBtn6", Form3->BitBtn6);
    rect("BitBtn1", Form3->BitBtn1);
    rect("Image1", Form4->Image1);
    rect("Image3", Form4->Image3);
    out += "scroll ScrollBox1 " + std::to_string(Form4->ScrollBox1->HorzScrollBar.Position()) + " " +
           std::to_string(Form4->ScrollBox1->VertScrollBar.Position()) + "\n";
    out += std::string("visible Form3 ") + (Form3->Visible() ? "1" : "0") + "\n";
    out += std::string("visible Form4 ") + (Form4->Visible() ? "1" : "0") + "\n";
    out += std::string("selected Image3 ") + (Form4->ResizeControl->Control() == Form4->Image3 ? "1" : "0") + "\n";
    if (const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        out += "box " + box->text().toStdString() + "\n";
        const QAbstractButton* button = box->defaultButton();
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        if (button) {
            const QPoint p = button->mapToGlobal(QPoint(0, 0));
            out += "rect BoxButton " + std::to_string(p.x()) + " " + std::to_string(p.y()) + " " +
                   std::to_string(button->width()) + " " + std::to_string(button->height()) + "\n";
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: frame_editor_probe FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    int qtArgc = 1;
    Application->Initialize(qtArgc, argv);
    Application->Title = "Plovis";
    auto poll = std::make_unique<QTimer>();
    QObject::connect(poll.get(), &QTimer::timeout, [folder] {
        if (!QFile::exists(folder + "/request"))
            return;
        QFile::remove(folder + "/request");
        QFile file(folder + "/answer.part");
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(QByteArray::fromStdString(Answer()));
        file.close();
        QFile::remove(folder + "/answer");
        QFile::rename(folder + "/answer.part", folder + "/answer");
    });
    poll->start(50);
    const int status = RunProgram(TStartMode::FrameSettings);
    poll.reset();
    Application->Shutdown();
    return status;
}
