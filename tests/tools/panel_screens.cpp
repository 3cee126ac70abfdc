// Opens the program's windows with a photo for a look at the correction
// panel, the preferences dialog and the histogram window: drops the folder
// given on the command line, switches the correction tools on, moves a few
// bars, shows the histogram window and the preferences dialog (not modal,
// so nothing waits), and saves a picture of each window into OUT_DIR.
// The whole screen goes into screen.png, and "vad.ini" into OUT_DIR too.
// Usage: panel_screens PHOTO_FOLDER OUT_DIR
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "dialogs/histogram_form.h"
#include "dialogs/preferences_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"

namespace {

bool Save(TForm* form, const QString& path)
{
    return form->Widget()->grab().save(path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string folder = argv[1];
    const QString out = QString::fromLocal8Bit(argv[2]);
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    if (!CreateApplicationForms())
        return 1;
    Form1->ProgramFolder = std::string(argv[2]) + "/";
    Form1->Show();
    int status = 0;
    QTimer::singleShot(500, [&] {
        Form1->SetBounds(0, 0, 1180, 800);
        Form1->WMDropFiles({folder}, true);
        Form1->CheckBox7->SetChecked(true);
        Form1->TrackBar1->SetPosition(20);
        Form1->TrackBar4->SetPosition(620);
        Form1->TrackBar8->SetPosition(240);
        Form1->TrackBar5->SetPosition(72);
        Form1->Button1->Click();
        Form2->SetBounds(Form2->Left(), 0, Form2->Width(), Form2->Height());
        Form2->Show();
        QTimer::singleShot(800, [&] {
            for (const auto& [form, name] : {std::pair<TForm*, const char*>{Form1, "main.png"},
                                             {Form2, "preferences.png"}, {Form8, "histogram.png"}})
                if (!Save(form, out + "/" + name))
                    status = 3;
            if (!QGuiApplication::primaryScreen()->grabWindow(0).save(out + "/screen.png"))
                status = 3;
            // The dialog is modal in the program; shown here without, it
            // would keep the loop from ending.
            Form2->Hide();
            Form1->Close();
        });
    });
    Application->Run();
    DestroyApplicationForms();
    Application->Shutdown();
    return status;
}
