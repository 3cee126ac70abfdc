#include "tests/window_events.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <QApplication>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/form.h"

namespace {

QWindow* WindowOf(TForm& form)
{
    QWidget* widget = form.Widget();
    return widget->windowHandle();
}

// The windows a property of the root window names.
std::vector<unsigned long> RootWindowList(const std::string& property)
{
    const QString out = QString::fromStdString(RunXTool("xprop", {"-root", property}));
    std::vector<unsigned long> ids;
    static const QRegularExpression id("0x[0-9a-fA-F]+");
    for (auto match = id.globalMatch(out); match.hasNext();)
        ids.push_back(match.next().captured().toULong(nullptr, 16));
    return ids;
}

}  // namespace

void SendPointerMove(TForm& form, int x, int y)
{
    QWindow* window = WindowOf(form);
    const QPointF at(x, y);
    QMouseEvent move(QEvent::MouseMove, at, at, window->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QGuiApplication::sendEvent(window, &move);
}

void SendFileDrop(TForm& form, int x, int y, const std::vector<std::string>& paths)
{
    QWindow* window = WindowOf(form);
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    const QPoint at(x, y);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QGuiApplication::sendEvent(window, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QGuiApplication::sendEvent(window, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QGuiApplication::sendEvent(window, &drop);
}

void SendKey(TControl& control, int qtKey, const std::string& text)
{
    const auto key = static_cast<Qt::Key>(qtKey);
    const QString typed = QString::fromStdString(text);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
    QCoreApplication::sendEvent(control.Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
    QCoreApplication::sendEvent(control.Widget(), &release);
}

void TypeKeys(TControl& control, const std::string& keys)
{
    for (const QChar ch : QString::fromStdString(keys)) {
        // Qt's key codes of printable ASCII are the characters, upper case.
        if (ch == QChar('\b'))
            SendKey(control, Qt::Key_Backspace);
        else
            SendKey(control, ch.unicode() < 128 ? ch.toUpper().unicode() : int{Qt::Key_unknown}, QString(ch).toStdString());
    }
}

void LeaveControl(TControl& control)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(control.Widget(), &out);
}

bool TakesInputMethod(const TControl& control)
{
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(control.Widget(), &query);
    return query.value(Qt::ImEnabled).toBool();
}

void MoveWindowAsOperator(TForm& form, int left, int top)
{
    // Headless there is no frame to place: the window is its client area.
    if (QGuiApplication::platformName() == "offscreen")
        WindowOf(form)->setPosition(left, top);
    else
        WindowOf(form)->setFramePosition({left, top});
}

void ResizeWindowAsOperator(TForm& form, int width, int height)
{
    WindowOf(form)->resize(width - (form.Width() - form.ClientWidth()), height - (form.Height() - form.ClientHeight()));
}

TRect WindowFrameOnScreen(TForm& form)
{
    const QRect frame = form.Widget()->frameGeometry();
    return {frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1};
}

bool WaitUntil(const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool HasWindowManager()
{
    return std::getenv("PLOVIS_WINDOW_MANAGER") != nullptr && QGuiApplication::platformName() == "xcb";
}

std::string RunXTool(const std::string& program, const std::vector<std::string>& args)
{
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    QProcess tool;
    tool.start(QString::fromStdString(program), arguments);
    const bool ended = tool.waitForFinished(10000);
    if (!ended) {
        tool.kill();
        tool.waitForFinished(2000);
    }
    EXPECT_TRUE(ended && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0)
        << program << " " << arguments.join(' ').toStdString() << ": " << tool.readAllStandardError().toStdString();
    return tool.readAllStandardOutput().toStdString();
}

void ClickOnScreen(int x, int y)
{
    RunXTool("xdotool", {"mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"});
}

std::string WindowProperty(const TForm& form, const std::string& name)
{
    const std::string out = RunXTool("xprop", {"-id", std::to_string(WindowId(form)), name});
    const auto equals = out.find(" = ");
    if (equals == std::string::npos)
        return {};
    return QString::fromStdString(out.substr(equals + 3)).trimmed().toStdString();
}

unsigned long WindowId(const TForm& form)
{
    return form.Widget()->winId();
}

std::vector<unsigned long> StackingOrder()
{
    return RootWindowList("_NET_CLIENT_LIST_STACKING");
}

unsigned long ActiveWindow()
{
    const std::vector<unsigned long> active = RootWindowList("_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : active.front();
}

std::vector<std::string> AllowedActions(const TForm& form)
{
    const QString out = QString::fromStdString(WindowProperty(form, "_NET_WM_ALLOWED_ACTIONS"));
    std::vector<std::string> actions;
    for (const QString& action : out.split(", ", Qt::SkipEmptyParts))
        actions.push_back(action.toStdString());
    return actions;
}

bool WaitUntilFramed(TForm& form)
{
    return WaitUntil([&] {
        const QWidget* window = form.Widget();
        return form.Width() > form.ClientWidth() && form.Height() > form.ClientHeight() &&
               window->width() == form.ClientWidth() && window->height() == form.ClientHeight();
    });
}

bool SettleWithWindowManager(TForm& form)
{
    static int round = 0;
    QWidget* window = form.Widget();
    const QString title = window->windowTitle();
    // The window manager may number a title that another window has too.
    const auto showTitle = [&](const QString& shown) {
        window->setWindowTitle(shown);
        return WaitUntil([&] {
            return WindowProperty(form, "_NET_WM_VISIBLE_NAME").starts_with("\"" + shown.toStdString());
        });
    };
    const bool settled = showTitle(QString("settling %1").arg(++round)) && showTitle(title);
    // The window manager's answers sent before it took the title are read.
    QGuiApplication::sync();
    return settled;
}

void PressKeysOnScreen(const std::string& keys)
{
    RunXTool("xdotool", {"key", keys});
}

bool FocusOnScreen(TControl& control)
{
    QWidget* widget = control.Widget();
    widget->window()->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    return WaitUntil([&] {
        return QApplication::focusWidget() == widget &&
               ActiveWindow() == widget->window()->winId();
    });
}

class KeyReleaseCount::Filter : public QObject {
public:
    Filter(int key, int& count) : key_(key), count_(count) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Each key event comes to its window before the widgets in it.
        if (event->type() == QEvent::KeyRelease && watched->isWindowType() &&
            static_cast<QKeyEvent*>(event)->key() == key_)
            ++count_;
        return false;
    }

private:
    int key_;
    int& count_;
};

KeyReleaseCount::KeyReleaseCount(int qtKey) : filter_(new Filter(qtKey, count_))
{
    qApp->installEventFilter(filter_);
}

KeyReleaseCount::~KeyReleaseCount()
{
    delete filter_;
}
