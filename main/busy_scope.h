// The main window's guard against re-entering long work: while a scope is
// alive, Busy is set (and, when asked, the command buttons are disabled);
// every way out of the scope restores both. A scope opened while the window
// is already busy changes neither, so a handler can ask Entered() and
// return. Every scope counts as work in progress: changes that must not
// come halfway wait until the last scope ends (TForm1::AfterPhotoWork).
// When the operator asked to close the window during the work, the window
// closes as the scope that began the work ends.
#pragma once

class TForm1;

class BusyScope {
public:
    enum Buttons { KeepButtons, DisableButtons };

    explicit BusyScope(TForm1& form, Buttons buttons = KeepButtons);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    // False when the window was busy already (the scope then changes nothing).
    bool Entered() const { return entered_; }
    // Ends the busy state now, before the scope ends (for work that follows
    // and must not count as busy); later calls and the destructor do nothing.
    void End();

private:
    TForm1& form_;
    const bool began_;
    bool entered_;
    bool disabled_;
    bool counted_ = true;
};
