// The application object over QApplication.
#include "platform/application.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include "platform/dialogs.h"
#include "platform/font.h"
#include "platform/form.h"
#include "platform/qt_translations.h"
#include "platform/qt_views.h"

namespace {

TApplication theApplication;
TScreen theScreen;

long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

TApplication* Application = &theApplication;
TScreen* Screen = &theScreen;

TApplication::~TApplication() = default;

void TApplication::Initialize(int& argc, char** argv)
{
    // Fixed logical resolution: font heights are pixels at 96 dpi.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_FONT_DPI", "96");
    qt_ = std::make_unique<QApplication>(argc, argv);
    InstallFontSubstitutions();
    InstallQtJapaneseTranslations();
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, qApp, [this](Qt::ApplicationState state) {
        // Only real changes: focus moving between our own windows may report
        // a passing inactive state, which must not flicker the transparency.
        const bool active = state == Qt::ApplicationActive;
        if (active == active_)
            return;
        active_ = active;
        const auto& handler = active ? OnActivate : OnDeactivate;
        if (handler)
            Guard(handler);
    });
}

void TApplication::Shutdown()
{
    if (!qt_)
        return;
    if (ReleaseForms)
        ReleaseForms();
    qt_.reset();
}

void TApplication::ShutdownBeforeStaticsMadeSoFar()
{
    // exit() runs its handlers last registered first, a static's destructor
    // among them from the static's first use on.
    std::atexit([] { theApplication.Shutdown(); });
}

void TApplication::registerForm(TForm* form)
{
    if (!mainForm_)
        mainForm_ = form;
    forms_.push_back(form);
}

void TApplication::ForgetForms()
{
    mainForm_ = nullptr;
    forms_.clear();
    terminated_ = false;
    OnActivate = nullptr;
    OnDeactivate = nullptr;
}

void TApplication::Run()
{
    if (!mainForm_)
        return;
    ShutdownBeforeStaticsMadeSoFar();
    mainForm_->Show();
    if (!terminated_) {
        looping_ = true;
        QApplication::exec();
        looping_ = false;
    }
}

void TApplication::ProcessMessages()
{
    lastPumpMs_ = NowMs();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::ProcessMessagesIfDue()
{
    if (NowMs() - lastPumpMs_ >= 20)
        ProcessMessages();
}

void TApplication::Terminate()
{
    terminated_ = true;
    // exit, not quit: Qt would first ask every other window to close, and
    // a modeless window that keeps its own close rules could refuse. Only
    // the loop of Run: outside it Qt would keep the request and end every
    // later modal loop (a dialog's) at once.
    if (looping_)
        QCoreApplication::exit(0);
}

std::string TApplication::ExceptionMessage(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return own->Message();
    if (const auto* memory = dynamic_cast<const EOutOfMemory*>(&error))
        return memory->Message();
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "メモリが足りません。";
    // Any other foreign exception is shown with an empty message.
    return std::string();
}

void TApplication::ShowException(const std::exception& error)
{
    MessageBox(ExceptionMessage(error), Title, MB_OK);
}

void TApplication::Guard(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(Exception(std::string()));
    }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    return Dialogs().MessageBox(text, caption, flags);
}

void TApplication::EndModal(TWinControl* form, int result)
{
    if (auto* f = dynamic_cast<TForm*>(form))
        f->SetModalResult(result);
}

DialogDriver& TApplication::Dialogs()
{
    if (driver_)
        return *driver_;
    if (!interactive_)
        interactive_ = std::make_shared<QtDialogDriver>();
    return *interactive_;
}

void TApplication::SetDialogDriver(std::shared_ptr<DialogDriver> driver)
{
    driver_ = std::move(driver);
}

int TScreen::Width() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 1920;
}

int TScreen::Height() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 1080;
}

void TScreen::SetCursor(TCursor cursor)
{
    // One value, not a stack: replace whatever override is in force.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    cursor_ = cursor;
    if (const auto shape = qtview::CursorShapeOf(cursor))
        QApplication::setOverrideCursor(*shape);
}

std::vector<std::string> TScreen::Fonts() const
{
    std::vector<std::string> fonts;
    for (const QString& family : QFontDatabase::families())
        fonts.push_back(family.toStdString());
    std::sort(fonts.begin(), fonts.end());
    fonts.erase(std::unique(fonts.begin(), fonts.end()), fonts.end());
    return fonts;
}
