// The program's windows.
#include "main/application_forms.h"

#include "dialogs/histogram_form.h"
#include "dialogs/multiline_input_form.h"
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "platform/application.h"

bool CreateApplicationForms()
{
    Application->ReleaseForms = DestroyApplicationForms;
    Application->CreateForm(Form1);
    if (Form1->WorkBitmapsFailed)
        return false;
    Application->CreateForm(Form7);
    Application->CreateForm(Form3);
    Application->CreateForm(Form5);
    Application->CreateForm(Form2);
    Application->CreateForm(Form4);
    Application->CreateForm(Form8);
    return true;
}

void DestroyApplicationForms()
{
    Application->ForgetForms();
    delete Form8;
    Form8 = nullptr;
    delete Form4;
    Form4 = nullptr;
    delete Form2;
    Form2 = nullptr;
    delete Form5;
    Form5 = nullptr;
    delete Form3;
    Form3 = nullptr;
    delete Form7;
    Form7 = nullptr;
    delete Form1;
    Form1 = nullptr;
}

std::vector<TForm*> TransparentForms()
{
    std::vector<TForm*> forms;
    for (TForm* form : {static_cast<TForm*>(Form1), static_cast<TForm*>(Form2), static_cast<TForm*>(Form3),
                        static_cast<TForm*>(Form4), static_cast<TForm*>(Form5)})
        if (form)
            forms.push_back(form);
    return forms;
}
