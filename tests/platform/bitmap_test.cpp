// Bitmap storage: sizes, rows and handing pixels between bitmaps.
#include "platform/bitmap.h"

#include <limits>
#include <memory>
#include <new>
#include <utility>

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/image_control.h"
#include "platform/process_memory.h"
#include "tests/test_support.h"

TEST(Bitmap, ExchangingPixelsLeavesEachBitmapItsTransparency)
{
    TBitmap photo;
    TBitmap layer;
    FillBitmap(photo, 3, 2, [](int x, int y) { return TColor(x * 16 + y); });
    FillBitmap(layer, 5, 4, [](int, int) { return clWhite; });
    layer.Transparent = true;
    layer.SetTransparentColor(clWhite);

    photo.ExchangePixels(layer);
    EXPECT_EQ(photo.Width(), 5);
    EXPECT_EQ(photo.Height(), 4);
    EXPECT_EQ(photo.Pixel(4, 3), clWhite);
    EXPECT_FALSE(photo.Transparent);
    EXPECT_EQ(photo.TransparentMode, TTransparentMode::tmAuto);
    EXPECT_EQ(layer.Width(), 3);
    EXPECT_EQ(layer.Pixel(2, 1), TColor(33));
    EXPECT_TRUE(layer.Transparent);
    EXPECT_EQ(layer.TransparentColor(), clWhite);
    EXPECT_EQ(layer.RowStride(), 12);
    EXPECT_EQ(photo.RowStride(), 16);
}

// Storage grows without keeping old pixels but every row stays writable and
// separate: a bitmap shrunk and grown again past its first size holds what
// was written after the last change.
TEST(Bitmap, GrowingAfterShrinkingGivesWholeRowsOfTheNewSize)
{
    TBitmap bitmap;
    for (const auto& [w, h] : {std::pair{7, 5}, std::pair{2, 3}, std::pair{1200, 900}, std::pair{3, 1}}) {
        FillBitmap(bitmap, w, h, [w](int x, int y) { return TColor(x + y * w); });
        EXPECT_EQ(bitmap.RowStride(), (w * 3 + 3) & ~3);
        EXPECT_EQ(bitmap.Pixel(w - 1, h - 1), TColor(w - 1 + (h - 1) * w));
        EXPECT_EQ(bitmap.Pixel(0, 0), TColor(0));
    }
}

// Pixels go back to the system as soon as a picture no longer needs them: a
// picture made smaller keeps only the pages of its new size, and a freed one
// none, whatever sizes came before (a day of mixed photos would otherwise
// hold every picture at the size of its largest).
TEST(Bitmap, PixelsNoLongerNeededGoBackToTheSystem)
{
    auto residentMb = [] {
        ProcessMemoryInfo info;
        EXPECT_TRUE(ReadProcessMemoryInfo(info));
        return static_cast<long>(info.workingSet >> 20);
    };
    auto picture = std::make_unique<TBitmap>();
    auto residentFilled = [&](int w, int h) {
        picture->SetSize(w, h);
        picture->Fill(clGray);
        return residentMb();
    };
    const long large = residentFilled(6000, 4000);  // 69 MiB
    const long small = residentFilled(2000, 1500);  // 9 MiB
    EXPECT_GE(large - small, 69 - 9 - 4);
    const long middle = residentFilled(4000, 2000);  // 23 MiB
    picture.reset();
    EXPECT_GE(middle - residentMb(), 23 - 4);
}

// A size whose pixels cannot be had leaves the bitmap empty, never claiming
// a size without pixels (an image control showing it then paints nothing),
// and the exception box says what was asked for.
TEST(Bitmap, APictureWhosePixelsCannotBeHadIsEmptyAndSaysSo)
{
    auto driver = std::make_shared<ScriptedDialogDriver>();
    Application->SetDialogDriver(driver);
    TImage image(nullptr);
    image.SetBounds(0, 0, 30, 20);
    TBitmap& picture = image.Picture();
    // More memory than any machine has, and a row longer than an int counts.
    for (const auto& [w, h] : {std::pair{1 << 20, 1 << 20}, std::pair{std::numeric_limits<int>::max(), 1}}) {
        picture.SetSize(30, 20);
        const std::string asked = std::to_string(w) + "×" + std::to_string(h);
        driver->Message("メモリが足りません。(" + asked + " の画像)", IDOK, std::nullopt, MB_OK);
        Application->Guard([&] { picture.SetSize(w, h); });
        EXPECT_EQ(picture.Width(), 0) << asked;
        EXPECT_EQ(picture.Height(), 0) << asked;
        QImage screen(30, 20, QImage::Format_RGB32);
        screen.fill(Qt::green);
        QPainter painter(&screen);
        image.Paint(painter);
        painter.end();
        EXPECT_EQ(screen.pixel(0, 19), qRgb(0, 255, 0)) << asked;
    }
    picture.SetSize(30, 20);
    picture.Fill(clRed);
    EXPECT_EQ(picture.Pixel(29, 19), clRed) << "the bitmap takes a size again";

    driver->Message("メモリが足りません。", IDOK);
    Application->Guard([] { throw std::bad_alloc(); });
    EXPECT_TRUE(driver->Failures().empty()) << driver->Failures().front();
    EXPECT_TRUE(driver->AllUsed());
    Application->SetDialogDriver(nullptr);
}
