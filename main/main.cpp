// Program entry: the application object, the seven windows in their creation
// order, and the message loop until the main window closes.
#include "main/application_forms.h"
#include "platform/application.h"

int main(int argc, char** argv)
{
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    int status = 1;
    Application->Guard([&] {
        if (!CreateApplicationForms())
            return;
        Application->Run();
        status = 0;
    });
    DestroyApplicationForms();
    Application->Shutdown();
    return status;
}
