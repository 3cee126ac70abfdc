// Drives the real program in a real window for a look at it: starts it as
// the program does, drops the folder given on the command line onto the main
// window (a Qt drop event, as a file manager's drop arrives), runs the batch,
// and closes the end-of-batch box after a few seconds so that a screenshot
// can be taken meanwhile. Usage: drop_demo FOLDER [seconds before closing]
#include <cstdlib>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int hold = argc > 2 ? std::atoi(argv[2]) : 5;
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    if (!CreateApplicationForms())
        return 1;
    QTimer::singleShot(1500, [folder] {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(folder)});
        QWidget* window = Form1->Widget();
        const QPoint centre(window->width() / 2, window->height() / 2);
        QDragEnterEvent enter(centre, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        QDropEvent drop(QPointF(centre), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &drop);
        delete data;
    });
    QTimer::singleShot(3000, [hold] {
        // The batch's summary box waits for the operator; close it later.
        QTimer::singleShot(hold * 1000, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        Form1->BitBtn12->Click();
        QTimer::singleShot(hold * 1000, [] { Form1->Close(); });
    });
    Application->Run();
    DestroyApplicationForms();
    Application->Shutdown();
    return 0;
}
