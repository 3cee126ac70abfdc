// The application object: title, forms, the message loop, message pumping,
// the exception box and the application's activation events. One instance,
// reachable as Application; the screen as Screen.
#pragma once

#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

class TForm;
class TWinControl;
class DialogDriver;
class QApplication;

// The program's own exception class; its message is shown by the exception box.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// A failed allocation that says what it was for. It is a std::bad_alloc, so
// that whatever catches those still catches it; the exception box shows its
// message, and any other std::bad_alloc as "メモリが足りません。".
class EOutOfMemory : public std::bad_alloc {
public:
    explicit EOutOfMemory(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// crDefault first: a control's cursor starts as the zero value.
enum class TCursor { crDefault, crHourGlass, crSizeAll, crArrow, crDrag, crSizeNESW, crSizeNS, crSizeNWSE, crSizeWE };

class TApplication {
public:
    // Starts the window system's application for the life of the program
    // (fixed 96 dpi, no scaling, the font substitutions, the activation
    // events); argc and argv must outlive it. Shutdown releases the forms
    // (through ReleaseForms) and ends it.
    void Initialize(int& argc, char** argv);
    void Shutdown();
    std::function<void()> ReleaseForms;
    // Qt ends the process with exit() when the display goes away: the forms
    // and Qt must then go while every static Qt has made still exists. Run
    // registers this; so does each kind of dialog once it is first shown.
    void ShutdownBeforeStaticsMadeSoFar();
    ~TApplication();
    std::string Title;

    // Creates a form; the first created is the main form.
    template <typename T>
    void CreateForm(T*& reference)
    {
        reference = new T(nullptr);
        registerForm(reference);
    }
    TForm* MainForm() const { return mainForm_; }
    // Forgets the created forms (before they are released), so that a new
    // set can be created.
    void ForgetForms();

    // Runs the message loop until the main form closes.
    void Run();
    // Processes pending events now.
    void ProcessMessages();
    // Processes pending events when the last pumping is ~20 ms old.
    void ProcessMessagesIfDue();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Shows the exception box for an exception that escaped a handler.
    void ShowException(const std::exception& error);
    // The text of that box.
    static std::string ExceptionMessage(const std::exception& error);
    // Runs a handler so that no exception crosses the event dispatch.
    void Guard(const std::function<void()>& handler);

    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;

    // A message box through the dialog driver; returns IDOK, IDYES, ...
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
    // Ends the modal showing of a form with a result (a button's ModalResult).
    void EndModal(TWinControl* form, int result);

    DialogDriver& Dialogs();
    // Tests install a scripted driver; null restores the interactive one.
    void SetDialogDriver(std::shared_ptr<DialogDriver> driver);

private:
    void registerForm(TForm* form);
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> forms_;
    bool terminated_ = false;
    bool looping_ = false;
    bool active_ = false;
    std::shared_ptr<DialogDriver> driver_;
    std::shared_ptr<DialogDriver> interactive_;
    long long lastPumpMs_ = 0;
    std::unique_ptr<QApplication> qt_;
};

class TScreen {
public:
    int Width() const;
    int Height() const;
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    // Installed font families, sorted and unique.
    std::vector<std::string> Fonts() const;
    int PixelsPerInch() const { return 96; }

private:
    TCursor cursor_ = TCursor::crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;
