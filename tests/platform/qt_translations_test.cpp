// Qt's own buttons and dialogs speak Japanese once the application has
// started (the test entry starts it as the program does).
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(QtTranslations, MessageBoxButtonsAreJapanese)
{
    QMessageBox box;
    EXPECT_EQ(box.addButton(QMessageBox::Yes)->text().toStdString(), "はい(&Y)");
    EXPECT_EQ(box.addButton(QMessageBox::No)->text().toStdString(), "いいえ(&N)");
    EXPECT_EQ(box.addButton(QMessageBox::Cancel)->text().toStdString(), "キャンセル");
    // The file dialogs' texts come from the same catalogue.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:").toStdString(), "ファイル名(&N):");
}
