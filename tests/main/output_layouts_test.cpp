// Every built-in layout composed from a real photo with the title, date and
// other texts placed where the layout puts them, and the saved file checked:
// frame size, 300 dpi, a white frame outside the photo and texts, and ink in
// each text's box.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame_editor/text_placement_form.h"
#include "pipeline/frame_layout.h"
#include "platform/jpeg_codec.h"
#include "tests/main/app_test_support.h"

namespace {

// Puts a text image with its horizontal centre at cx and its top at top
// (full-size pixels) on the preview, sized by the text preview.
void PlaceText(TImage& image, TEdit& font, const std::string& text, int cx, int top)
{
    Form1->DrawTextPreview(image, font.Font(), text, 0);
    const double f = static_cast<double>(Form1->PreviewLayout.Framewidth) / Form1->FrameLayout.Framewidth;
    image.SetBounds(static_cast<int>(cx * f) - image.Width() / 2, static_cast<int>(top * f), image.Width(),
                    image.Height());
}

// The image's box on the preview scaled to the output, as the composition
// maps a text's place.
TRect OutputBox(const TImage& image)
{
    const double k = static_cast<double>(Form1->FrameLayout.Framewidth) / Form1->PreviewLayout.Framewidth;
    auto scale = [k](int v) { return static_cast<int>(static_cast<float>(v * k)); };
    return {scale(image.Left()), scale(image.Top()), scale(image.Left() + image.Width()),
            scale(image.Top() + image.Height())};
}

bool Inside(const TRect& r, int margin, int x, int y)
{
    return x >= r.Left - margin && x < r.Right + margin && y >= r.Top - margin && y < r.Bottom + margin;
}

// The darkest channel maximum in a box: below 100 means a dark pixel is there.
int DarkestIn(const TBitmap& bitmap, const TRect& box)
{
    int darkest = 255;
    for (int y = std::max(box.Top, 0); y < std::min(box.Bottom, bitmap.Height()); ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = std::max(box.Left, 0); x < std::min(box.Right, bitmap.Width()); ++x)
            darkest = std::min<int>(darkest, std::max({row[x * 3], row[x * 3 + 1], row[x * 3 + 2]}));
    }
    return darkest;
}

int WhiteIn(const TBitmap& bitmap, const TRect& box)
{
    int white = 0;
    for (int y = box.Top; y < box.Bottom; ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = box.Left; x < box.Right; ++x)
            white += row[x * 3] == 255 && row[x * 3 + 1] == 255 && row[x * 3 + 2] == 255;
    }
    return white;
}

}  // namespace

class OutputLayoutsTest : public AppTest {};

TEST_F(OutputLayoutsTest, EveryLayoutSavesAFramedPhotoWithItsTexts)
{
    ShowMainWindowWithKnownPreview();
    const std::string photo = folder.File("IMG_0001.JPG");
    WriteTestJpeg(photo, 1200, 900);
    Form1->Edit1->SetText(folder.Path());
    Form4->Edit4->SetText("卒業記念写真");
    Form4->Edit9->SetText("2026.12.08");
    Form4->Edit7->SetText("3年B組");

    for (int n = 0; n < kPresetCount; ++n) {
        SCOPED_TRACE(FramePreset(n).name);
        Form1->ApplyFrameLayout(n);
        // A new layout may turn the photo: decode it afresh, as the layout
        // refresh does.
        Form1->CachedPhotoPath.clear();
        const TFrameLayout& l = Form1->FrameLayout;
        PlaceText(*Form1->Image3, *Form4->Edit22, Form4->Edit4->Text(), l.FontPositionX, l.FontPositionY);
        PlaceText(*Form1->Image4, *Form4->Edit10, Form4->Edit9->Text(), l.DatePositionX, l.DatePositionY);
        PlaceText(*Form1->Image5, *Form4->Edit12, Form4->Edit7->Text(), l.OtherPositionX, l.OtherPositionY);
        const std::string outFolder = folder.File("layout" + std::to_string(n));
        Form1->Edit2->SetText(outFolder);
        ASSERT_EQ(Form1->ComposeAndSave(photo, false, false), 0);

        const std::string saved = outFolder + "/IMG_0001.JPG";
        EXPECT_EQ(ReadFileBytes(saved).substr(13, 5), std::string("\x01\x01\x2C\x01\x2C", 5));
        TBitmap out;
        ASSERT_EQ(DecodeJpegFile(saved, out), JpegResult::Ok);
        ASSERT_EQ(out.Width(), l.Framewidth);
        ASSERT_EQ(out.Height(), l.Frameheight);

        const std::vector<TRect> texts = {OutputBox(*Form1->Image3), OutputBox(*Form1->Image4),
                                          OutputBox(*Form1->Image5)};
        for (const TRect& box : texts)
            EXPECT_LT(DarkestIn(out, box), 100) << box.Left << "," << box.Top;

        // The frame around the photo and away from the texts is white; the
        // margins keep JPEG ringing near edges out of the count.
        const TRect photoArea{l.Leftwidth, l.Topheight, l.Leftwidth + l.Photowidth, l.Topheight + l.Photoheight};
        constexpr int kMargin = 24;
        int checked = 0;
        int grey = 0;
        for (int y = 0; y < out.Height(); y += 3) {
            const std::uint8_t* row = out.ScanLine(y);
            for (int x = 0; x < out.Width(); x += 3) {
                if (Inside(photoArea, kMargin, x, y) ||
                    std::any_of(texts.begin(), texts.end(),
                                [&](const TRect& r) { return Inside(r, kMargin, x, y); }))
                    continue;
                ++checked;
                if (std::min({row[x * 3], row[x * 3 + 1], row[x * 3 + 2]}) < 245)
                    ++grey;
            }
        }
        EXPECT_GT(checked, 1000);
        EXPECT_EQ(grey, 0);
        // The photo covers its whole area (checked before encoding).
        EXPECT_EQ(WhiteIn(*Form1->OutputBitmap, photoArea), 0);
    }
}
