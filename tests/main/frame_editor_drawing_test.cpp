// The main window's frame image for the frame settings editor.
#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/bmp_file.h"
#include "platform/file_system.h"
#include "tests/main/app_test_support.h"

class FrameEditorDrawingTest : public AppTest {};

TEST_F(FrameEditorDrawingTest, SavedFrameImageAndItsFailures)
{
    const std::string path = folder.File("frame.bmp");
    Form1->SaveFrameImage(path, 1500, 1051, 1430, 887, 35, 35);
    TBitmap expected;
    FillBitmap(expected, 1500, 1051, [](int x, int y) {
        return x >= 35 && x < 1465 && y >= 35 && y < 922 ? clBlack : clWhite;
    });
    EXPECT_EQ(ReadFileBytes(path), EncodeBmp(expected));

    // No photo area: nothing is written, the file stays.
    WriteFileBytes(path, "old");
    Form1->SaveFrameImage(path, 1500, 1051, 0, 887, 35, 35);
    EXPECT_EQ(ReadFileBytes(path), "old");

    // A photo area as large as the frame is all black.
    TImage image(Form1->ScrollBox1);
    image.SetBounds(0, 0, 15, 10);
    Form1->DrawFrameImage(&image, 150, 100, 150, 100, 0, 0);
    EXPECT_EQ(PixelBounds(image.Picture(), [](TColor c) { return c != clBlack; }), TRect{});

    SetFileWriteFaultForTesting([](const std::string&) { return true; });
    try {
        Form1->SaveFrameImage(path, 150, 100, 100, 50, 10, 10);
        ADD_FAILURE() << "a failed write must be reported";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), path + " に書き込めません");
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
}
