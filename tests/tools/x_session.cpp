#include "tests/tools/x_session.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

void Check(bool condition, const std::string& what)
{
    if (!condition)
        throw CheckFailed{what};
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop pause;
        QTimer::singleShot(10, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return true;
}

std::string RunTool(const QString& program, const QStringList& args, bool mayFail)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C.UTF-8");  // multi-byte text for xdotool's "type" and window names
    tool.setProcessEnvironment(environment);
    tool.start(program, args);
    const bool ended = WaitFor([&] { return tool.state() == QProcess::NotRunning; }, 15000);
    if (!ended) {
        tool.kill();
        tool.waitForFinished(2000);
    }
    Check(ended && tool.exitStatus() == QProcess::NormalExit && (mayFail || tool.exitCode() == 0),
          (program + " " + args.join(' ')).toStdString());
    return tool.readAllStandardOutput().toStdString();
}

void Xdo(const QStringList& args)
{
    RunTool("xdotool", args);
}
