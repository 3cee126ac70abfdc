// Drives the real program in a real window for a look at it: starts it as
// the program does, drops the folder given on the command line onto the main
// window (a Qt drop event, as a file manager's drop arrives) and runs the
// batch. After a few seconds it closes whatever box is up, one a second
// (questions, the save dialog, the summary), then the window, until the
// window is gone, so that screenshots can be taken meanwhile. Given a PNG
// path, it saves the screen there while the first question is up.
// Usage: drop_demo FOLDER [seconds before closing] [question.png]
#include <cstdlib>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
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
    QString questionShot = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
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
    // The closer keeps going through every nested modal loop: a box may be
    // followed by another, and closing the window may ask a question too.
    QTimer closer;
    closer.setInterval(1000);
    QObject::connect(&closer, &QTimer::timeout, [&questionShot] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            const auto* question = qobject_cast<QMessageBox*>(box);
            if (!questionShot.isEmpty() && question && question->buttons().size() > 1) {
                QGuiApplication::primaryScreen()->grabWindow(0).save(questionShot, "PNG");
                questionShot.clear();
            }
            box->close();
            return;
        }
        if (Form1->Visible())
            Form1->Close();
    });
    QTimer::singleShot(3000, [hold, &closer] {
        QTimer::singleShot(hold * 1000, [&closer] { closer.start(); });
        Form1->BitBtn12->Click();
    });
    Application->Run();
    DestroyApplicationForms();
    Application->Shutdown();
    return 0;
}
