// Every built-in layout saved from a real photo by the single run, with the
// title, date and other texts set as the operator sets them, and the saved
// file checked: frame size, 300 dpi, a white frame outside the photo and
// texts, and each text's ink at its layout place; the same picture whatever
// the size of the window (the preview's scale); and a text too long for its
// place printed whole.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/quick_text_form.h"
#include "frame_editor/text_placement_form.h"
#include "pipeline/frame_layout.h"
#include "platform/jpeg_codec.h"
#include "tests/main/app_test_support.h"

namespace {

constexpr char kTitle[] = "卒業記念写真";
constexpr char kDate[] = "2026.12.08";
constexpr char kOther[] = "3年B組";

// A school's name reaches past the left edge from every layout's other-text
// centre, the longer one too and a long date past the right edge.
constexpr char kLongOther[] = "さくら学園　写真部";
constexpr char kLongerOther[] = "さくら学園　写真部　令和八年度　卒業生一同";
constexpr char kLongDate[] = "2026年12月8日（火）　卒業式当日撮影";

// FNV-1a of the file each layout saved with the short texts, before texts
// were kept inside the picture.
constexpr std::uint64_t kShortTextPictures[] = {
    0x731174cf0f23c6cdu, 0xc6ec96554855e426u, 0xffac885f4e10b63bu, 0x0b1a1b32d3605837u,
    0x492eb1d8b5a53535u, 0x7c918a431ea27790u, 0xad5c6951b69ff4c9u, 0x11d0c4898e9fae74u};

std::uint64_t Fnv1a(const std::string& bytes)
{
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : bytes)
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 1099511628211u;
    return hash;
}

bool Dark(const std::uint8_t* pixel)
{
    return std::max({pixel[0], pixel[1], pixel[2]}) < 100;
}

// The bounds of the dark pixels within area (empty when there are none).
TRect InkIn(const TBitmap& bitmap, const TRect& area)
{
    TRect ink{area.Right, area.Bottom, area.Left, area.Top};
    for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, bitmap.Height()); ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = std::max(area.Left, 0); x < std::min(area.Right, bitmap.Width()); ++x) {
            if (!Dark(row + x * 3))
                continue;
            ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                   std::max(ink.Bottom, y + 1)};
        }
    }
    return ink;
}

bool Inside(const TRect& r, int margin, int x, int y)
{
    return x >= r.Left - margin && x < r.Right + margin && y >= r.Top - margin && y < r.Bottom + margin;
}

struct TextPlace {
    const char* name;
    int x;  // horizontal centre
    int y;  // top
};

std::vector<TextPlace> PlacesOf(const TFrameLayout& l)
{
    return {{"title", l.FontPositionX, l.FontPositionY},
            {"date", l.DatePositionX, l.DatePositionY},
            {"other", l.OtherPositionX, l.OtherPositionY}};
}

}  // namespace

class OutputLayoutsTest : public AppTest {
protected:
    // The date and the other text typed into the text placement window's
    // fields, the title into the quick text dialog opened by a click on the
    // title on the preview.
    void SetTextsAsTheOperatorDoes()
    {
        Form4->Edit9->UserEdited(kDate);
        Form4->Edit7->UserEdited(kOther);
        dialogs->Modal([](TForm&) {
            Form7->Edit4->UserEdited(kTitle);
            Form7->BitBtn14->Click();
        });
        Form1->Image3->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
        Form1->Image3->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 5, true);
        ASSERT_EQ(Form4->FrameText(TFrameTextKind::Title).Text, kTitle);
    }

    // The photo dropped on the window, layout n chosen, then "１枚実行" into
    // outFolder; returns the saved file.
    std::string SaveWithLayout(const std::string& photo, int n, const std::string& outFolder)
    {
        Form1->Edit2->SetText(outFolder + "/");
        Form1->WMDropFiles({photo}, true);
        Form1->ComboBox1->UserChose(n);
        dialogs->Message("完了しました。", IDOK);
        Form1->BitBtn3->Click();
        return outFolder + "/IMG_0001.JPG";
    }
};

TEST_F(OutputLayoutsTest, EveryLayoutSavesAFramedPhotoWithItsTextsAtTheirPlaces)
{
    ShowMainWindowWithKnownPreview();
    const std::string photo = Photo("IMG_0001.JPG", 1200, 900);
    SetTextsAsTheOperatorDoes();

    for (int n = 0; n < kPresetCount; ++n) {
        SCOPED_TRACE(FramePreset(n).name);
        const std::string saved = SaveWithLayout(photo, n, folder.File("layout" + std::to_string(n)));
        const TFrameLayout& l = FramePreset(n).layout;
        EXPECT_EQ(ReadFileBytes(saved).substr(13, 5), std::string("\x01\x01\x2C\x01\x2C", 5));
        // Texts that fit print to the pixel as they always have.
        EXPECT_EQ(Fnv1a(ReadFileBytes(saved)), kShortTextPictures[n]) << "the saved picture changed";
        TBitmap out;
        ASSERT_EQ(DecodeJpegFile(saved, out), JpegResult::Ok);
        ASSERT_EQ(out.Width(), l.Framewidth);
        ASSERT_EQ(out.Height(), l.Frameheight);

        // Each text's ink, looked for below the photo and no nearer to
        // another text's centre than to its own: centred on its X, its top
        // just below its Y (the font's leading).
        const std::vector<TextPlace> places = PlacesOf(l);
        const int bandTop = l.Topheight + l.Photoheight + 8;
        std::vector<TRect> texts;
        for (const TextPlace& p : places) {
            SCOPED_TRACE(p.name);
            int reach = l.Framewidth;
            for (const TextPlace& q : places)
                if (q.x != p.x)
                    reach = std::min(reach, std::abs(q.x - p.x) / 2);
            const TRect ink = InkIn(out, {p.x - reach, bandTop, p.x + reach, l.Frameheight});
            ASSERT_LT(ink.Left, ink.Right) << "no ink";
            EXPECT_NEAR((ink.Left + ink.Right) / 2, p.x, 6);
            EXPECT_GE(ink.Top, p.y);
            EXPECT_LE(ink.Top, p.y + 12);
            texts.push_back(ink);
        }

        // The frame around the photo and away from the texts is white, and
        // the photo covers its whole area; the margins keep JPEG ringing
        // near edges out of the count.
        const TRect photoArea{l.Leftwidth, l.Topheight, l.Leftwidth + l.Photowidth, l.Topheight + l.Photoheight};
        constexpr int kMargin = 24;
        int checked = 0;
        int grey = 0;
        int whiteInPhoto = 0;
        for (int y = 0; y < out.Height(); y += 3) {
            const std::uint8_t* row = out.ScanLine(y);
            for (int x = 0; x < out.Width(); x += 3) {
                const int lightest = std::min({row[x * 3], row[x * 3 + 1], row[x * 3 + 2]});
                if (Inside(photoArea, -kMargin, x, y))
                    whiteInPhoto += lightest >= 250;
                if (Inside(photoArea, kMargin, x, y) ||
                    std::any_of(texts.begin(), texts.end(),
                                [&](const TRect& r) { return Inside(r, kMargin, x, y); }))
                    continue;
                ++checked;
                grey += lightest < 245;
            }
        }
        EXPECT_GT(checked, 1000);
        EXPECT_EQ(grey, 0);
        EXPECT_EQ(whiteInPhoto, 0);
    }
}

TEST_F(OutputLayoutsTest, SavedPictureIsTheSameWhateverTheWindowSize)
{
    ShowMainWindow();
    const std::string photo = Photo("IMG_0001.JPG", 1200, 900);
    SetTextsAsTheOperatorDoes();

    std::vector<std::string> pictures;
    std::vector<int> previewWidths;
    for (const TPoint size : {TPoint{980, 760}, TPoint{1560, 990}}) {
        Form1->SetBounds(Form1->Left(), Form1->Top(), size.x, size.y);
        const std::string out = folder.File("window" + std::to_string(size.x));
        pictures.push_back(ReadFileBytes(SaveWithLayout(photo, 0, out)));
        previewWidths.push_back(Form1->PreviewLayout.Framewidth);
    }
    ASSERT_NE(previewWidths[0], previewWidths[1]) << "two preview scales";
    ASSERT_FALSE(pictures[0].empty());
    EXPECT_TRUE(pictures[0] == pictures[1]) << "the saved pictures differ";
}

TEST_F(OutputLayoutsTest, TextsTooLongForTheirPlacePrintWholeInsideThePicture)
{
    ShowMainWindowWithKnownPreview();
    const std::string photo = Photo("IMG_0001.JPG", 400, 300);
    std::string tooWide;
    for (int i = 0; i < 6; ++i)
        tooWide += "さくら学園　写真部　";
    struct Case {
        TEdit* edit;
        std::string text;
        TImage* image;
        TPoint (*place)(const TFrameLayout&);
    };
    auto other = [](const TFrameLayout& l) { return TPoint{l.OtherPositionX, l.OtherPositionY}; };
    auto date = [](const TFrameLayout& l) { return TPoint{l.DatePositionX, l.DatePositionY}; };
    const Case cases[] = {{Form4->Edit7, kLongOther, Form1->Image5, other},
                          {Form4->Edit7, kLongerOther, Form1->Image5, other},
                          {Form4->Edit9, kLongDate, Form1->Image4, date},
                          {Form4->Edit7, tooWide, Form1->Image5, other}};
    // One text at a time, typed into the text placement window.
    Form4->Edit4->UserEdited("");
    int moved = 0;
    for (int n = 0; n < kPresetCount; ++n) {
        SCOPED_TRACE(FramePreset(n).name);
        const TFrameLayout& l = FramePreset(n).layout;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            Form4->Edit7->UserEdited("");
            Form4->Edit9->UserEdited("");
            c.edit->UserEdited(c.text);
            const std::string saved = SaveWithLayout(photo, n, folder.File("long" + std::to_string(moved++)));
            TBitmap out;
            ASSERT_EQ(DecodeJpegFile(saved, out), JpegResult::Ok);
            const TRect ink = InkIn(out, {0, l.Topheight + l.Photoheight + 8, l.Framewidth, l.Frameheight});
            ASSERT_LT(ink.Left, ink.Right) << "no ink";
            const TPoint place = c.place(l);
            EXPECT_GE(ink.Top, place.y);
            EXPECT_LE(ink.Top, place.y + 12);

            // On the preview the text's image lies inside the frame too.
            const TImage& image = *c.image;
            EXPECT_GE(image.Left(), 0);
            if (c.text == tooWide) {
                // Wider than the picture: from its left edge on.
                EXPECT_LE(ink.Left, 8);
                EXPECT_EQ(image.Left(), 0);
                continue;
            }
            EXPECT_LE(image.Left() + image.Width(), Form1->PreviewLayout.Framewidth);
            // Ink that reached the edge would have been cut there.
            EXPECT_GT(ink.Left, 0);
            EXPECT_LT(ink.Right, l.Framewidth);
            // Centred on its X where that fits, else against the nearer edge.
            const int half = (ink.Right - ink.Left) / 2;
            if (place.x - half > 8 && place.x + half < l.Framewidth - 8)
                EXPECT_NEAR((ink.Left + ink.Right) / 2, place.x, 6);
            else
                EXPECT_TRUE(ink.Left <= 8 || ink.Right >= l.Framewidth - 8) << ink.Left << ".." << ink.Right;
        }
    }
}
