#include "tests/window_events.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>
#include <QWindow>

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
