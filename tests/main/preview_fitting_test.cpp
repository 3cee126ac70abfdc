// The preview copy of a loaded photo and the fitting's fallback when the
// high-quality reduction refuses a window of another aspect.
#include <string>

#include <gtest/gtest.h>

#include "platform/canvas.h"
#include "tests/main/app_test_support.h"

namespace {

// What the plain stretch makes of picture in a width x height bitmap.
void Stretched(const TBitmap& picture, int width, int height, TBitmap& out)
{
    out.SetSize(width, height);
    out.Canvas()->StretchDraw({0, 0, width, height}, picture);
}

// The window of picture copied out, stretched into rect of a white eW x eH
// area: the fitting's fallback for a refused reduction.
void StretchedIntoWhite(const TBitmap& picture, const TRect& window, const TRect& rect, int eW, int eH, TBitmap& out)
{
    TBitmap crop;
    crop.SetSize(window.Width(), window.Height());
    crop.Canvas()->CopyRect({0, 0, window.Width(), window.Height()}, picture, window);
    out.SetSize(eW, eH);
    out.Fill(clWhite);
    out.Canvas()->StretchDraw(rect, crop);
}

}  // namespace

// Layout 0 in the known preview: the preview copy's longer side is 685.
class PreviewFittingTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
    }
};

TEST_F(PreviewFittingTest, AThinPhotoStillHasAPreviewCopy)
{
    // 3000 x 2 would give 685 x 0; the reduction refuses it (aspect), so
    // both ways end in the plain stretch.
    for (bool highQuality : {false, true}) {
        SCOPED_TRACE(highQuality);
        Form1->CheckBox4->SetChecked(highQuality);
        ASSERT_EQ(Form1->LoadPhoto(Photo(highQuality ? "thin_hq.jpg" : "thin.jpg", 3000, 2)), 0);
        const TBitmap& copy = Form1->PreviewSource();
        EXPECT_EQ((TPoint{copy.Width(), copy.Height()}), (TPoint{685, 1}));
        TBitmap expected;
        Stretched(*Form1->SourceBitmap, 685, 1, expected);
        EXPECT_TRUE(SameBitmap(copy, expected));
    }
}

TEST_F(PreviewFittingTest, HighQualityPreviewCopyIsTheReduction)
{
    // Sharpening makes the reduction unlike any stretch.
    Form1->CheckBox2->SetChecked(true);
    const std::string path = Photo("q.jpg", 1600, 1200);

    ASSERT_EQ(Form1->LoadPhoto(path), 0);
    TBitmap plain;
    Stretched(*Form1->SourceBitmap, 685, 513, plain);
    EXPECT_TRUE(SameBitmap(Form1->PreviewSource(), plain));

    Form1->CheckBox4->SetChecked(true);
    Form1->CachedPhotoPath.clear();
    ASSERT_EQ(Form1->LoadPhoto(path), 0);
    TBitmap reduced;
    reduced.Assign(*Form1->SourceBitmap);
    ASSERT_EQ(Form1->ShrinkHighQuality(reduced, 685, 513), 0);
    EXPECT_TRUE(SameBitmap(Form1->PreviewSource(), reduced));
    EXPECT_FALSE(SameBitmap(reduced, plain));
}

TEST_F(PreviewFittingTest, AWindowOfAnotherAspectIsStretchedKeepingItsOwn)
{
    // Zoomed so far that the window is a few pixels, whose aspect the
    // truncation changes: the reduction refuses it (-10) and the window is
    // stretched with its own aspect from the area's top-left corner; the
    // rest of the area shows the background.
    Form1->CheckBox7->SetChecked(true);
    ASSERT_TRUE(Form1->CheckBox3->Checked());

    // Layout 0, 1500 x 922, top-aligned: a 1600 x 1200 photo is cropped to
    // 1600 x 983.47; at zoom 450 the window is 3 x 2 at (798, 0), drawn
    // 3 * 922 / 2 = 1383 wide.
    ASSERT_EQ(Form1->LoadPhoto(Photo("wide.jpg", 1600, 1200)), 0);
    Form1->PhotoZoom = 450.0f;
    ASSERT_EQ(Form1->FitPhotoToArea(*Form1->SourceBitmap, false), 0);
    EXPECT_EQ(Form1->ReduceMessage, "比率が違うので高画質圧縮を中断しました。(幅 1500  高さ922)");
    TBitmap expected;
    StretchedIntoWhite(*Form1->SourceBitmap, {798, 0, 801, 2}, {0, 0, 1383, 922}, 1500, 922, expected);
    EXPECT_TRUE(SameBitmap(*Form1->PhotoBitmap, expected));

    // An upright area (layout 2, 1051 x 1371) and a 1200 x 1600 picture,
    // cropped to 1200 x 1565.4; at zoom 550 the window is 2 x 2 at
    // (599, 0), drawn 1051 x 2 * 1051 / 2.
    Form1->ApplyFrameLayout(2);
    FillBitmap(*Form1->SourceBitmap, 1200, 1600, [](int x, int y) { return RGB(x % 256, y % 256, 90); });
    Form1->PhotoBitmap->Assign(*Form1->SourceBitmap);
    Form1->PhotoZoom = 550.0f;
    ASSERT_EQ(Form1->FitPhotoToArea(*Form1->SourceBitmap, false), 0);
    StretchedIntoWhite(*Form1->SourceBitmap, {599, 0, 601, 2}, {0, 0, 1051, 1051}, 1051, 1371, expected);
    EXPECT_TRUE(SameBitmap(*Form1->PhotoBitmap, expected));
}
