// The busy scope of the main window.
#include "main/busy_scope.h"

#include <utility>

#include "main/main_form.h"

BusyScope::BusyScope(TForm1& form, Buttons buttons)
    : form_(form), began_(!form.Busy), entered_(began_), disabled_(entered_ && buttons == DisableButtons)
{
    ++form_.workDepth_;
    if (!entered_)
        return;
    form_.Busy = true;
    if (disabled_)
        form_.DisableCommandButtons();
}

BusyScope::~BusyScope()
{
    End();
    if (began_)
        form_.CloseIfAsked();
}

void BusyScope::End()
{
    if (entered_) {
        entered_ = false;
        form_.Busy = false;
        if (disabled_)
            form_.EnableCommandButtons();
    }
    if (std::exchange(counted_, false))
        form_.endWork();
}
