// Loading, turning, caching, fitting and correcting a photo through the main
// window: the results the composition and the preview rely on.
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame_editor/frame_settings_form.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/jpeg_codec.h"
#include "tests/exif_test_pictures.h"
#include "tests/main/app_test_support.h"

namespace {

void Decode(const std::string& path, TBitmap& out)
{
    ASSERT_EQ(DecodeJpegFile(path, out), JpegResult::Ok) << path;
}

// A quarter turn counter-clockwise done by hand: pixel (x, y) of a w x h
// picture lands on (y, w - 1 - x), so the top edge becomes the left edge.
void TurnCounterClockwise(const TBitmap& in, TBitmap& out)
{
    const int w = in.Width();
    const int h = in.Height();
    out.SetSize(h, w);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = in.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            std::uint8_t* dst = out.ScanLine(w - 1 - x) + y * 3;
            dst[0] = src[x * 3];
            dst[1] = src[x * 3 + 1];
            dst[2] = src[x * 3 + 2];
        }
    }
}

// What the plain-stretch fitting must give for a crop window of picture: the
// window copied one to one onto white (parts outside the picture stay
// white), then stretched over the whole eW x eH area.
void ExpectedFit(const TBitmap& picture, const TRect& window, int eW, int eH, TBitmap& out)
{
    TBitmap crop;
    crop.SetSize(window.Width(), window.Height());
    crop.Fill(clWhite);
    for (int y = 0; y < crop.Height(); ++y) {
        const int sy = window.Top + y;
        if (sy < 0 || sy >= picture.Height())
            continue;
        const std::uint8_t* src = picture.ScanLine(sy);
        std::uint8_t* dst = crop.ScanLine(y);
        for (int x = 0; x < crop.Width(); ++x) {
            const int sx = window.Left + x;
            if (sx < 0 || sx >= picture.Width())
                continue;
            dst[x * 3] = src[sx * 3];
            dst[x * 3 + 1] = src[sx * 3 + 1];
            dst[x * 3 + 2] = src[sx * 3 + 2];
        }
    }
    out.SetSize(eW, eH);
    out.Fill(clWhite);
    out.Canvas()->StretchDraw({0, 0, eW, eH}, crop);
}

int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

}  // namespace

class PhotoLoadingTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
    }

    bool Logged(const std::string& line) const
    {
        for (const std::string& l : Form1->Memo1->Lines().Lines())
            if (l == line)
                return true;
        return false;
    }
};

TEST_F(PhotoLoadingTest, PhotosAreTurnedToTheFrameOrientation)
{
    struct Case {
        int layout, w, h;
        bool turned;
    } cases[] = {
        {0, 400, 600, true},   // portrait in a landscape frame
        {0, 600, 400, false},  // landscape in a landscape frame
        {0, 500, 500, false},  // a square counts as landscape
        {2, 500, 500, true},   // ... so it is turned for a portrait frame
        {2, 600, 400, true},
        {7, 400, 600, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "layout " << c.layout << ", " << c.w << "x" << c.h);
        Form1->ApplyFrameLayout(c.layout);
        // A name of its own: the cache is keyed on the path alone.
        const std::string path = Photo("p" + std::to_string(c.layout) + "_" + std::to_string(c.w) + "x" +
                                           std::to_string(c.h) + ".jpg",
                                       c.w, c.h);
        ASSERT_EQ(Form1->LoadPhoto(path), 0);
        EXPECT_EQ(Form1->CachedPhotoPath, path);

        TBitmap decoded, expected;
        Decode(path, decoded);
        if (c.turned)
            TurnCounterClockwise(decoded, expected);
        else
            expected.Assign(decoded);
        EXPECT_TRUE(SameBitmap(*Form1->SourceBitmap, expected));
        EXPECT_TRUE(SameBitmap(*Form1->PhotoBitmap, expected));
        if (c.turned) {  // the photo's top-right corner is now the top-left one
            EXPECT_EQ(Form1->SourceBitmap->Pixel(0, 0), decoded.Pixel(c.w - 1, 0));
        }

        // The preview copy: its longer side is the longer side of the preview photo area.
        const int S = std::max(Form1->PreviewLayout.Photowidth, Form1->PreviewLayout.Photoheight);
        const int sw = expected.Width();
        const int sh = expected.Height();
        const TBitmap& preview = Form1->PreviewSource();
        if (sh < sw)
            EXPECT_EQ((TPoint{preview.Width(), preview.Height()}), (TPoint{S, S * sh / sw}));
        else
            EXPECT_EQ((TPoint{preview.Width(), preview.Height()}), (TPoint{S * sw / sh, S}));
    }
}

TEST_F(PhotoLoadingTest, TheSamePathIsServedFromTheCache)
{
    const std::string path = Photo("a.jpg", 600, 400);
    ASSERT_EQ(Form1->LoadPhoto(path), 0);
    TBitmap loaded;
    loaded.Assign(*Form1->SourceBitmap);

    // Without its file, the same path still loads: nothing is decoded, and
    // the preview copy is not rebuilt.
    std::filesystem::remove(path);
    Form1->PhotoBitmap->SetSize(1, 1);
    Form1->PreviewSource();
    Form1->PreviewSourceBitmap->Fill(clRed);
    EXPECT_EQ(Form1->LoadPhoto(path), 0);
    EXPECT_TRUE(SameBitmap(*Form1->PhotoBitmap, loaded));
    EXPECT_EQ(CountPixels(Form1->PreviewSource(), [](TColor c) { return c != clRed; }), 0);

    // An empty path while a photo is cached does nothing.
    Form1->PhotoBitmap->SetSize(1, 1);
    EXPECT_EQ(Form1->LoadPhoto(""), 1);
    EXPECT_EQ(Form1->PhotoBitmap->Width(), 1);

    // A missing file is refused before the cache is touched.
    EXPECT_EQ(Form1->LoadPhoto(folder.File("missing.jpg")), -1);
    EXPECT_EQ(Form1->CachedPhotoPath, path);
}

TEST_F(PhotoLoadingTest, AFailedLoadEmptiesTheCache)
{
    // Nothing loaded yet: the empty path equals the empty cache key.
    Form1->PhotoBitmap->SetSize(50, 50);
    EXPECT_EQ(Form1->LoadPhoto(""), 0);
    EXPECT_TRUE(SameBitmap(*Form1->PhotoBitmap, *Form1->SourceBitmap));

    const std::string good = Photo("good.jpg", 600, 400);
    const std::string bad = folder.File("bad.jpg");
    WriteFileBytes(bad, "not a jpeg at all");
    ASSERT_EQ(Form1->LoadPhoto(good), 0);
    EXPECT_EQ(Form1->LoadPhoto(bad), -2);
    EXPECT_EQ(Form1->CachedPhotoPath, "");
    // The good photo is decoded again, so its file must exist now.
    std::filesystem::remove(good);
    EXPECT_EQ(Form1->LoadPhoto(good), -1);
}

TEST_F(PhotoLoadingTest, BadFilesAreRefusedWithoutHarm)
{
    const std::string good = Photo("good.jpg", 400, 300);
    const std::string bytes = ReadFileBytes(good);

    std::string huge = bytes;
    const std::size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    for (std::size_t at : {sof + 5, sof + 7}) {  // height, then width: 65500 each
        huge[at] = static_cast<char>(0xFF);
        huge[at + 1] = static_cast<char>(0xDC);
    }
    std::mt19937 random(7);
    std::string noise(5000, '\0');
    for (char& b : noise)
        b = static_cast<char>(random() & 0xFF);

    const std::vector<std::pair<std::string, std::string>> files = {
        {"truncated.jpg", bytes.substr(0, bytes.size() / 2)},
        {"empty.jpg", ""},
        {"noise.jpg", noise},
        {"huge.jpg", huge},
    };
    for (const auto& [name, content] : files) {
        SCOPED_TRACE(name);
        const std::string path = folder.File(name);
        WriteFileBytes(path, content);
        EXPECT_EQ(Form1->LoadPhoto(path), -2);
        EXPECT_EQ(Form1->CachedPhotoPath, "");
    }
    // The window is still fine for the next photo.
    EXPECT_EQ(Form1->LoadPhoto(good), 0);
    EXPECT_EQ(Form1->SourceBitmap->Width(), 400);
}

TEST_F(PhotoLoadingTest, PreparingWithNothingLoadedHasNothingToReuse)
{
    EXPECT_EQ(Form1->PreparePhoto("", true), -3);
    EXPECT_EQ(Form1->PreparePhoto("", false), -3);
}

TEST_F(PhotoLoadingTest, SmallPhotosAreSkipped)
{
    const std::string note = "320px×240px以下なのでスキップ";
    struct Case {
        int w, h, result;
    } cases[] = {{320, 240, -2}, {240, 320, -2}, {321, 240, 0}, {320, 241, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        Form1->Memo1->Lines().Clear();
        const std::string path = Photo(std::to_string(c.w) + "x" + std::to_string(c.h) + ".jpg", c.w, c.h);
        EXPECT_EQ(Form1->PreparePhoto(path, false), c.result);
        EXPECT_EQ(Logged(note), c.result == -2);
    }
}

TEST_F(PhotoLoadingTest, PreparedPhotoFillsExactlyThePhotoArea)
{
    for (int layout : {0, 2, 7}) {
        SCOPED_TRACE(layout);
        Form1->ApplyFrameLayout(layout);
        // One smaller than the area (stretched up), one larger (reduced).
        for (TPoint size : {TPoint{1200, 900}, TPoint{2400, 1800}}) {
            const std::string path = Photo("p" + std::to_string(layout) + "_" + std::to_string(size.x) + ".jpg",
                                           size.x, size.y);
            ASSERT_EQ(Form1->PreparePhoto(path, false), 0);
            EXPECT_EQ(Form1->PhotoBitmap->Width(), Form1->FrameLayout.Photowidth);
            EXPECT_EQ(Form1->PhotoBitmap->Height(), Form1->FrameLayout.Photoheight);
            ASSERT_EQ(Form1->PreparePhoto("", true), 0);
            EXPECT_EQ(Form1->PhotoBitmap->Width(), Form1->PreviewLayout.Photowidth);
            EXPECT_EQ(Form1->PhotoBitmap->Height(), Form1->PreviewLayout.Photoheight);
        }
    }
}

// Layout 0 (photo area 1500 x 922) and a 1600 x 1200 photo: the crop is the
// whole width by 1600 * 922 / 1500 = 983 rows.
class PhotoCropTest : public PhotoLoadingTest {
protected:
    void SetUp() override
    {
        PhotoLoadingTest::SetUp();
        Form1->CheckBox3->SetChecked(false);  // plain stretch: exact pixels to compare
        ASSERT_EQ(Form1->LoadPhoto(Photo("crop.jpg", 1600, 1200)), 0);
        source.Assign(*Form1->SourceBitmap);
    }

    void ExpectWindow(const TRect& window)
    {
        ASSERT_EQ(Form1->PreparePhoto("", false), 0);
        TBitmap expected;
        ExpectedFit(source, window, 1500, 922, expected);
        EXPECT_TRUE(SameBitmap(*Form1->PhotoBitmap, expected));
    }

    TBitmap source;
};

TEST_F(PhotoCropTest, AlignmentPicksTheTopOrTheBottom)
{
    ASSERT_TRUE(Form3->RadioButton1->Checked());  // a layout starts top-aligned
    ExpectWindow({0, 0, 1600, 983});
    Form3->RadioButton3->SetChecked(true);
    ExpectWindow({0, 1200 - 983, 1600, 1200});
    Form3->RadioButton2->SetChecked(true);
    ExpectWindow({0, 108, 1600, 108 + 983});
}

TEST_F(PhotoCropTest, ZoomCropsOnlyWithTheCorrectionTools)
{
    Form3->RadioButton2->SetChecked(true);
    Form1->PhotoZoom = 2.0f;
    // Tools off: the zoom is ignored.
    ExpectWindow({0, 108, 1600, 108 + 983});
    // Tools on: 800 x 491 (983.47 / 2 truncated), centred.
    Form1->CheckBox7->SetChecked(true);
    ExpectWindow({400, 354, 1200, 354 + 491});
}

TEST_F(PhotoCropTest, OffsetsMoveTheWindowInSourcePixels)
{
    Form3->RadioButton2->SetChecked(true);
    // Full size: frame pixels times crop width / area width, for both axes:
    // 150 * 1600 / 1500 = 160, -75 * 1600 / 1500 = -80. The window then
    // reaches 160 columns past the right edge, which stay white.
    Form1->PhotoOffsetX = 150;
    Form1->PhotoOffsetY = -75;
    ExpectWindow({160, 108 - 80, 1760, 108 - 80 + 983});
    EXPECT_NE(Form1->PhotoBitmap->Pixel(1300, 461), clWhite);
    EXPECT_EQ(Form1->PhotoBitmap->Pixel(1400, 461), clWhite);

    // Preview: frame pixels times preview area width / full area width. The
    // preview copy (4:3) is taller in shape than the area, so the crop is
    // its whole width.
    ASSERT_EQ(Form1->PreparePhoto("", true), 0);
    const TFrameLayout& p = Form1->PreviewLayout;
    const TBitmap& small = Form1->PreviewSource();
    const int cw = small.Width();
    const int ch = static_cast<int>(static_cast<float>(cw) * static_cast<float>(p.Photoheight) /
                                    static_cast<float>(p.Photowidth));
    const int dx = 150 * p.Photowidth / 1500;
    const int dy = -75 * p.Photowidth / 1500;
    const int top = (small.Height() - ch) / 2 + dy;
    TBitmap expected;
    ExpectedFit(small, {dx, top, dx + cw, top + ch}, p.Photowidth, p.Photoheight, expected);
    EXPECT_TRUE(SameBitmap(*Form1->PhotoBitmap, expected));
}

TEST_F(PhotoLoadingTest, LandscapePhotoInAnUprightAreaGetsBands)
{
    // Layouts turn photos to their own orientation, so hand the fitting a
    // landscape picture directly: 800 x 400 into layout 2's 1051 x 1371 area.
    Form1->ApplyFrameLayout(2);
    Form3->RadioButton2->SetChecked(true);
    const TColor green = 0x00A000;
    Form1->SourceBitmap->SetSize(800, 400);
    Form1->SourceBitmap->Fill(green);
    Form1->PhotoBitmap->Assign(*Form1->SourceBitmap);
    ASSERT_EQ(Form1->FitPhotoToArea(*Form1->SourceBitmap, false), 0);

    // The whole width, 800 x 1043 (800 * 1371 / 1051): 321 background rows
    // above the photo, the rest below; scaled by 1371 / 1043.
    const TBitmap& fitted = *Form1->PhotoBitmap;
    ASSERT_EQ((TPoint{fitted.Width(), fitted.Height()}), (TPoint{1051, 1371}));
    const TRect photo = PixelBounds(fitted, [&](TColor c) { return c == green; });
    EXPECT_EQ(photo.Left, 0);
    EXPECT_EQ(photo.Right, 1051);
    EXPECT_NEAR(photo.Top, 321 * 1371 / 1043, 1);
    EXPECT_NEAR(photo.Bottom, 721 * 1371 / 1043, 1);
    EXPECT_EQ(CountPixels(fitted, [&](TColor c) { return c != green && c != clWhite; }), 0);
}

TEST_F(PhotoLoadingTest, MissingOrUnreadableFileAsksWhetherToAbort)
{
    const std::string missing = folder.File("missing.jpg");
    const std::string broken = folder.File("broken.jpg");
    WriteFileBytes(broken, std::string(100, 'x'));
    const std::string caption = Form1->MessageCaption;
    struct Case {
        std::string path, question, skipNote;
    } cases[] = {
        {missing, "JPEGファイルが存在しません。中断しますか？", "JPEGファイルが存在しません"},
        {broken, "JPEGファイルを読み込めませんでした。中断しますか？", "JPEGファイルを読み込めません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Form1->Memo1->Lines().Clear();
        Form1->AbortRequested = false;
        dialogs->Message(c.question + "\n\n" + c.path, IDNO, caption, MB_YESNO);
        EXPECT_EQ(Form1->PreparePhoto(c.path, false), -2);
        EXPECT_FALSE(Form1->AbortRequested);
        EXPECT_EQ(Form1->Memo1->Lines().Lines(), std::vector<std::string>{c.skipNote});

        Form1->Memo1->Lines().Clear();
        dialogs->Message(c.question, IDYES, caption, MB_YESNO);
        EXPECT_EQ(Form1->PreparePhoto(c.path, false), -1);
        EXPECT_TRUE(Form1->AbortRequested);
        EXPECT_EQ(Form1->Memo1->Lines().Lines(), std::vector<std::string>{"中断"});
    }
}

TEST_F(PhotoLoadingTest, LargePhotoIsTurnedAndRotated)
{
    Form1->ApplyFrameLayout(2);
    Form3->RadioButton2->SetChecked(true);
    const std::string path = Photo("large.jpg", 5000, 3000);
    Form1->PhotoAngle = 1.0f;
    // A background the photo never shows, so the wedges are told apart.
    const TColor background = RGB(0, 160, 0);
    Form1->BackgroundColor = background;
    ASSERT_EQ(Form1->PreparePhoto(path, false), 0);

    EXPECT_EQ(Form1->SourceBitmap->Width(), 3000);
    EXPECT_EQ(Form1->SourceBitmap->Height(), 5000);
    const TBitmap& fitted = *Form1->PhotoBitmap;
    ASSERT_EQ((TPoint{fitted.Width(), fitted.Height()}), (TPoint{1051, 1371}));
    // Turned clockwise on the 3086 x 5051 canvas, the photo's left edge
    // crosses the left edge of the centred 3000 x 3913 crop (left 43, top
    // 569) near its middle row and lies 34 source pixels (12 here) inside it
    // at the top; the right edge mirrors it. So the canvas's background shows
    // in a wedge at the top-left and one at the bottom-right (their slanted
    // edge blended by the smoothing), and nowhere else; the black that the
    // rotation leaves beyond the canvas stays outside the crop.
    auto backgroundRun = [&](int y, bool fromRight) {
        int run = 0;
        while (run < fitted.Width() && fitted.Pixel(fromRight ? fitted.Width() - 1 - run : run, y) == background)
            ++run;
        return run;
    };
    EXPECT_NEAR(backgroundRun(0, false), 11, 1);
    EXPECT_NEAR(backgroundRun(340, false), 5, 1);
    EXPECT_EQ(backgroundRun(700, false), 0);
    EXPECT_EQ(backgroundRun(0, true), 0);
    EXPECT_NEAR(backgroundRun(1370, true), 11, 1);
    EXPECT_NEAR(backgroundRun(1030, true), 5, 1);
    EXPECT_EQ(backgroundRun(670, true), 0);
    EXPECT_EQ(backgroundRun(1370, false), 0);
    EXPECT_EQ(CountPixels(fitted, [](TColor c) { return c == clBlack; }), 0);
    // Centred, the middle of the smooth test photo stays mid-grey.
    const TColor middle = fitted.Pixel(525, 685);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(Channel(middle, shift), 128, 12) << shift;
}

TEST_F(PhotoLoadingTest, ColourGainsAreReadAndLimitedInTheirEdits)
{
    TBitmap picture;
    FillBitmap(picture, 4, 4, [](int, int) { return static_cast<TColor>(0x646464); });  // 100 each
    Form1->Edit13->SetText("256");   // red
    Form1->Edit15->SetText("-300");  // green
    Form1->Edit14->SetText("abc");   // blue

    // Correction tools off: nothing is read or changed.
    Form1->ApplyColorCorrection(picture);
    EXPECT_EQ(picture.Pixel(0, 0), static_cast<TColor>(0x646464));
    EXPECT_EQ(Form1->Edit13->Text(), "256");

    Form1->CheckBox7->SetChecked(true);
    Form1->ApplyColorCorrection(picture);
    EXPECT_EQ(Form1->Edit13->Text(), "255");
    EXPECT_EQ(Form1->Edit15->Text(), "-255");
    EXPECT_EQ(Form1->Edit14->Text(), "abc");
    // Red 100 * (1 + 255/256) = 199; green used as -254: 100 * 2/256 = 0; blue unchanged.
    EXPECT_EQ(Channel(picture.Pixel(2, 2), 0), 199);
    EXPECT_EQ(Channel(picture.Pixel(2, 2), 8), 0);
    EXPECT_EQ(Channel(picture.Pixel(2, 2), 16), 100);
}

TEST_F(PhotoLoadingTest, PreparationCorrectsColourOnlyWhenBothSwitchesAreOn)
{
    ASSERT_EQ(Form1->LoadPhoto(Photo("c.jpg", 600, 400)), 0);
    Form1->Edit13->SetText("-254");
    auto meanRed = [] {
        const TBitmap& b = *Form1->PhotoBitmap;
        long sum = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                sum += Channel(b.Pixel(x, y), 0);
        return sum / (b.Width() * b.Height());
    };
    ASSERT_EQ(Form1->PreparePhoto("", true), 0);
    EXPECT_NEAR(meanRed(), 128, 4);  // tools off
    Form1->CheckBox7->SetChecked(true);
    Form1->CheckBox6->SetChecked(false);
    ASSERT_EQ(Form1->PreparePhoto("", true), 0);
    EXPECT_NEAR(meanRed(), 128, 4);
    Form1->CheckBox6->SetChecked(true);
    ASSERT_EQ(Form1->PreparePhoto("", true), 0);
    EXPECT_LE(meanRed(), 1);
}

TEST_F(PhotoLoadingTest, AnAbortedReductionStopsThePreparation)
{
    // 1600 x 1200 into layout 0: the crop 1600 x 983 is reduced to 1500 x 922.
    const std::string path = Photo("abort.jpg", 1600, 1200);
    Form1->AbortRequested = true;
    EXPECT_EQ(Form1->PreparePhoto(path, false), -1);
    EXPECT_TRUE(Logged("中断"));
    EXPECT_EQ(Form1->StatusBar1->Panels(0).Text(), Form1->ReduceMessage);

    // The plain stretch stops at it as well, and carries on without it.
    Form1->CheckBox3->SetChecked(false);
    EXPECT_EQ(Form1->PreparePhoto(path, false), -1);
    Form1->AbortRequested = false;
    EXPECT_EQ(Form1->PreparePhoto(path, false), 0);
}

TEST_F(PhotoLoadingTest, ShowFittedCentresOnlyTheThumbnail)
{
    TBitmap wide;
    FillBitmap(wide, 200, 50, [](int, int) { return clRed; });
    auto isRed = [](TColor c) { return c == clRed; };

    // The thumbnail (160 x 120): 160 x 40, centred on grey.
    ASSERT_EQ(Form1->ShowFitted(wide, 10), 0);
    const TBitmap& thumb = Form1->Image10->Picture();
    EXPECT_EQ(PixelBounds(thumb, isRed), (TRect{0, 40, 160, 80}));
    EXPECT_EQ(thumb.Pixel(80, 10), clGray);
    EXPECT_EQ(thumb.Pixel(80, 110), clGray);

    // The preview: fitted at the top-left corner, grey elsewhere.
    const int W = Form1->Image1->Width();
    const int H = Form1->Image1->Height();
    ASSERT_EQ(Form1->ShowFitted(wide, 1), 0);
    const TBitmap& preview = Form1->Image1->Picture();
    EXPECT_EQ(PixelBounds(preview, isRed), (TRect{0, 0, W, W * 50 / 200}));
    EXPECT_EQ(preview.Pixel(W / 2, H - 1), clGray);

    // Any other target only prepares the scratch picture.
    TBitmap before;
    before.Assign(preview);
    TBitmap tall;
    FillBitmap(tall, 50, 200, [](int, int) { return clBlack; });
    EXPECT_EQ(Form1->ShowFitted(tall, 5), 0);
    EXPECT_TRUE(SameBitmap(Form1->Image1->Picture(), before));
    EXPECT_EQ(PixelBounds(*Form1->ScratchBitmap, [](TColor c) { return c == clBlack; }),
              (TRect{0, 0, H * 50 / 200, H}));
}

TEST_F(PhotoLoadingTest, CameraPortraitsPreviewAndPrintAsTheUprightPhoto)
{
    // One portrait stored upright, and as cameras store it: landscape pixels
    // with orientation 6 (Motorola order) or 8 (Intel order).
    TBitmap upright;
    FillGreyTiles(upright, 480, 640);
    const std::string uprightPath = folder.File("upright.jpg");
    ASSERT_EQ(EncodeJpegFile(upright, uprightPath, 90), JpegResult::Ok);
    std::vector<std::string> copies = {uprightPath};
    for (const int orientation : {6, 8}) {
        TBitmap stored;
        StoreForOrientation(upright, orientation, stored);
        const std::string path = folder.File("tag" + std::to_string(orientation) + ".jpg");
        ASSERT_EQ(EncodeJpegFile(stored, path, 90), JpegResult::Ok);
        WriteFileBytes(path, WithApp1(ReadFileBytes(path), ExifOrientationData(orientation == 6, orientation)));
        copies.push_back(path);
    }

    for (const int layout : {0, 2}) {
        Form1->ApplyFrameLayout(layout);
        TBitmap previews[3], outputs[3];
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "layout " << layout << ", " << copies[i]);
            // Dropped as the operator would: loaded, turned and previewed.
            Form1->WMDropFiles({copies[i]}, true);
            ASSERT_EQ(Form1->CachedPhotoPath, copies[i]);
            previews[i].Assign(Form1->Image1->Picture());
            const std::string out = folder.File("out" + std::to_string(layout) + "_" + std::to_string(i));
            Form1->Edit2->SetText(out);
            ASSERT_EQ(Form1->ComposeAndSave(copies[i], false, false), 0);
            Decode(out + "/" + copies[i].substr(copies[i].rfind('/') + 1), outputs[i]);
        }
        for (int i = 1; i < 3; ++i) {
            EXPECT_TRUE(SameBitmap(previews[i], previews[0])) << "preview of " << copies[i] << ", layout " << layout;
            EXPECT_TRUE(SameBitmap(outputs[i], outputs[0])) << "output of " << copies[i] << ", layout " << layout;
        }
    }
}
