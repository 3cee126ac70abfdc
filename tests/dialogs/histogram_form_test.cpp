// The histogram window: drawing the sets it is given, its own redraws, its
// place against the main window, and its fixed size.
#include "dialogs/histogram_form.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

bool AllWhite(TImage& image)
{
    const TBitmap& picture = image.Picture();
    return CountPixels(picture, [](TColor c) { return c == clWhite; }) == picture.Width() * picture.Height();
}

int Count(TImage& image, TColor colour)
{
    return CountPixels(image.Picture(), [&](TColor c) { return c == colour; });
}

HistogramSet Flat(int count)
{
    HistogramSet set{};
    for (int level = 1; level < 255; ++level)
        for (int k = 0; k < 4; ++k)
            set.counts[level][k] = count;
    return set;
}

}  // namespace

using HistogramFormTest = AppTest;

TEST_F(HistogramFormTest, WithoutAPeakInTheFirstSetTheSecondImageStays)
{
    Form8->DrawHistograms(0, Flat(10), Flat(10));
    ASSERT_GT(Count(*Form8->Image2, clBlack), 0);
    TBitmap second;
    second.Assign(Form8->Image2->Picture());

    HistogramSet ends{};
    ends.counts[0][0] = ends.counts[255][0] = 1000;
    Form8->DrawHistograms(0, ends, Flat(3));
    EXPECT_TRUE(AllWhite(*Form8->Image1));
    EXPECT_TRUE(SameBitmap(Form8->Image2->Picture(), second));
    // Before any photo both sets are empty: the same.
    Form8->DrawHistograms(0, HistogramSet{}, HistogramSet{});
    EXPECT_TRUE(SameBitmap(Form8->Image2->Picture(), second));

    Form8->ClearHistograms();
    EXPECT_TRUE(AllWhite(*Form8->Image1));
    EXPECT_TRUE(AllWhite(*Form8->Image2));
    EXPECT_EQ(Form8->Image1->Picture().Width(), 258);
    EXPECT_EQ(Form8->Image1->Picture().Height(), 130);
}

TEST_F(HistogramFormTest, CheckBoxesRedrawTheLastSetsAtOnce)
{
    Form8->DrawHistograms(0, Flat(10), Flat(20));
    EXPECT_GT(Count(*Form8->Image1, RGB(0, 0, 255)), 0);
    Form8->CheckBox4->SetChecked(false);
    EXPECT_EQ(Count(*Form8->Image1, RGB(0, 0, 255)), 0);
    EXPECT_GT(Count(*Form8->Image2, RGB(0, 128, 0)), 0);
    for (TCheckBox* box : {Form8->CheckBox1, Form8->CheckBox2, Form8->CheckBox3})
        box->SetChecked(false);
    EXPECT_TRUE(AllWhite(*Form8->Image1));
    EXPECT_TRUE(AllWhite(*Form8->Image2));
    Form8->CheckBox1->SetChecked(true);
    EXPECT_GT(Count(*Form8->Image2, clBlack), 0);
    Form8->ClearHistograms();
    Form8->BitBtn1->Click();
    EXPECT_GT(Count(*Form8->Image1, clBlack), 0);
}

TEST_F(HistogramFormTest, StandsAgainstTheMainWindowsRightSideAndKeepsItsSize)
{
    ShowMainWindow();
    Form1->SetBounds(40, 30, 1000, 760);
    Form1->Button1->Click();
    EXPECT_TRUE(Form8->Visible());
    EXPECT_EQ(Form8->Left(), 1040);
    EXPECT_EQ(Form8->Top(), 30);
    Form1->Button1->Click();
    EXPECT_EQ(Form8->Left(), 1040);
    Form1->SetBounds(100, 50, 1000, 760);
    Form1->Button1->Click();
    EXPECT_EQ(Form8->Left(), 1100);
    EXPECT_EQ(Form8->Top(), 50);

    Form8->SetBounds(Form8->Left(), Form8->Top(), 400, 500);
    EXPECT_EQ(Form8->Width(), 287);
    EXPECT_EQ(Form8->Height(), 358);

    // Shown, the window gives the focus to the first control of its tab
    // order, "再描画".
    Form8->Widget()->activateWindow();
    ASSERT_TRUE(WaitUntil([] { return QApplication::focusWidget() != nullptr; }));
    EXPECT_EQ(QApplication::focusWidget(), Form8->BitBtn1->Widget());
}
