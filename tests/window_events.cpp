#include "tests/window_events.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include "platform/control.h"
#include "platform/form.h"

namespace {

QWindow* WindowOf(TForm& form)
{
    QWidget* widget = form.Widget();
    return widget->windowHandle();
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
