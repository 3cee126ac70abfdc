// Program entry: the application object, the seven windows in their creation
// order, and the message loop until the main window closes.
#include <QApplication>

#include "dialogs/histogram_form.h"
#include "dialogs/multiline_input_form.h"
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "platform/application.h"

int main(int argc, char** argv)
{
    TApplication::PrepareQt();
    QApplication qt(argc, argv);
    Application->Initialize();
    Application->Title = "Plovis";
    int status = 0;
    Application->Guard([&] {
        Application->CreateForm(Form1);
        if (Form1->WorkBitmapsFailed) {
            status = 1;
            return;
        }
        Application->CreateForm(Form7);
        Application->CreateForm(Form3);
        Application->CreateForm(Form5);
        Application->CreateForm(Form2);
        Application->CreateForm(Form4);
        Application->CreateForm(Form8);
        Application->Run();
    });
    return status;
}
