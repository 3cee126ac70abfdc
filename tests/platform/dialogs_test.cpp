// Message boxes as the window manager shows them.
#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "tests/window_events.h"

namespace {

struct ShownBox {
    std::string title;  // as the window manager reads it
    int frameWidth = 0;
};

ShownBox ShowBox(const std::string& text, const std::string& caption)
{
    ShownBox shown;
    QTimer::singleShot(0, [&] {
        QWidget* box = nullptr;
        const bool framed = WaitUntil([&] {
            box = QApplication::activeModalWidget();
            return box && box->frameGeometry().width() > box->width();
        });
        if (framed) {
            const std::string id = std::to_string(box->winId());
            const QString name = QString::fromStdString(RunXTool("xprop", {"-id", id, "_NET_WM_NAME"}));
            shown.title = name.section(" = ", 1).trimmed().toStdString();
            shown.frameWidth = box->frameGeometry().width();
        }
        if (box)
            box->close();
    });
    Application->MessageBox(text, caption, MB_OK);
    return shown;
}

}  // namespace

TEST(MessageBoxUnderAWindowManager, ShowsItsWholeCaptionOrNone)
{
    if (!HasWindowManager())
        GTEST_SKIP() << "needs a window manager: scripts/window-tests.sh";
    // A short text: the box is still wide enough for its caption beside the
    // title bar's icon and three buttons (in the window manager's usual
    // title font), so the caption is not cut to "P...".
    const ShownBox narrow = ShowBox("完了しました。", "Plovis");
    EXPECT_EQ(narrow.title, "\"Plovis\"");
    QFont titleFont("sans");
    titleFont.setPointSize(8);
    titleFont.setBold(true);
    EXPECT_GE(narrow.frameWidth, QFontMetrics(titleFont).horizontalAdvance("Plovis") + 100);

    // An empty caption stays empty: the window system would put the
    // program's name there.
    const ShownBox untitled = ShowBox("保存しました。", "");
    EXPECT_EQ(QString::fromStdString(untitled.title).remove('"').trimmed().toStdString(), "");
}
